/*
 * The C interface of the MorlexDateControl module (libMorlexDateControl.so).
 *
 * The module exports four functions with C linkage and nothing else:
 *
 *   DllRegisterServer()    writes the component's entries into the registry
 *                          file (see morlex/component/registry.h: the file is
 *                          MORLEX_REGISTRY, else morlex/registry.txt under
 *                          $XDG_CONFIG_HOME or ~/.config)
 *   DllUnregisterServer()  removes exactly those entries again
 *                          (both wait up to 5 seconds for another program
 *                          changing the registry, and fail with
 *                          MX_SELFREG_E_CLASS when it holds on longer)
 *   DllGetClassObject()    gives the class object of MorlexDate, which
 *                          creates controls
 *   DllCanUnloadNow()      MX_S_OK when no control and no lock remains,
 *                          else MX_S_FALSE
 *
 * A host's life with the module:
 *
 *   void* lib = dlopen("libMorlexDateControl.so.1", RTLD_NOW | RTLD_LOCAL);
 *   MxDllGetClassObjectFn get = (MxDllGetClassObjectFn)dlsym(lib, "DllGetClassObject");
 *   static const MxGuid clsid = MX_CLSID_MORLEXDATE, iid = MX_IID_CLASSOBJECT,
 *                       dual = MX_IID_MORLEXDATE, source = MX_DIID_MORLEXDATE_EVENTS;
 *   MxClassObject* factory;
 *   get(&clsid, &iid, (void**)&factory);
 *   MxControl* date;
 *   factory->vtbl->CreateInstance(factory, &host_site, &toolkit, &dual, &date);
 *   factory->vtbl->Release(factory);
 *   date->vtbl->Advise(date, &source, &sink, &cookie);   // events, any number of sinks
 *   date->vtbl->InitNew(date, &err);                     // or Load(date, &bag)
 *   date->vtbl->Invoke(date, -517, MX_DISPATCH_PROPERTYPUT, &text, NULL, &err);
 *   ...
 *   date->vtbl->Release(date);
 *   if (DllCanUnloadNow() == MX_S_OK) dlclose(lib);
 *
 * Host site, toolkit and property bag are C++ objects: the host passes
 * pointers to its morlex::platform::HostSite, morlex::platform::Toolkit and
 * morlex::platform::PropertyBag (morlex/platform/host.h, toolkit.h), built
 * with the same platform headers and C++ ABI as the module. Everything else
 * (values, errors, events) is plain C.
 *
 * Threads: a control lives on the thread that created it, the host's user
 * interface thread, and every call to it, and every event it fires, happens
 * there. The entry points themselves may be called from any thread.
 */
#ifndef MORLEX_COMPONENT_MODULE_ABI_H
#define MORLEX_COMPONENT_MODULE_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* --- Status codes ------------------------------------------------------- */

typedef int32_t MxResult;

#define MX_S_OK ((MxResult)0)
#define MX_S_FALSE ((MxResult)1)
#define MX_E_NOTIMPL ((MxResult)0x80004001u)
#define MX_E_NOINTERFACE ((MxResult)0x80004002u)
#define MX_E_POINTER ((MxResult)0x80004003u)
#define MX_E_FAIL ((MxResult)0x80004005u)
#define MX_E_OUTOFMEMORY ((MxResult)0x8007000Eu)
#define MX_E_INVALIDARG ((MxResult)0x80070057u)
#define MX_CLASS_E_CLASSNOTAVAILABLE ((MxResult)0x80040111u)
#define MX_SELFREG_E_CLASS ((MxResult)0x80040201u)
#define MX_DISP_E_MEMBERNOTFOUND ((MxResult)0x80020003u)
#define MX_DISP_E_TYPEMISMATCH ((MxResult)0x80020005u)
#define MX_DISP_E_UNKNOWNNAME ((MxResult)0x80020006u)
#define MX_DISP_E_EXCEPTION ((MxResult)0x80020009u)
#define MX_CONNECT_E_NOCONNECTION ((MxResult)0x80040200u)

#define MX_SUCCEEDED(r) ((MxResult)(r) >= 0)
#define MX_FAILED(r) ((MxResult)(r) < 0)

/* --- Identifiers -------------------------------------------------------- */

typedef struct MxGuid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
} MxGuid;

/* Initialisers: static const MxGuid id = MX_CLSID_MORLEXDATE; */
/* An identifier written as its text reads, {d1-d2-d3-d4}: the last eight bytes
 * as one number, most significant byte first. */
#define MX_GUID_BYTE(d4, i) ((uint8_t)(((d4) >> (56 - 8 * (i))) & 0xFFu))
#define MX_GUID(d1, d2, d3, d4)                                                              \
  {                                                                                          \
    d1, d2, d3, {                                                                            \
      MX_GUID_BYTE(d4, 0), MX_GUID_BYTE(d4, 1), MX_GUID_BYTE(d4, 2), MX_GUID_BYTE(d4, 3),    \
          MX_GUID_BYTE(d4, 4), MX_GUID_BYTE(d4, 5), MX_GUID_BYTE(d4, 6), MX_GUID_BYTE(d4, 7) \
    }                                                                                        \
  }
#define MX_LIBID_MORLEXDATECONTROL MX_GUID(0x7ECC7AC3, 0x8251, 0x470D, 0xAC79D6549E7E4A7Cull)
#define MX_CLSID_MORLEXDATE MX_GUID(0xDA8F975A, 0x1B16, 0x49F1, 0xAA70C2481B472CBFull)
/* _MorlexDate: properties and AboutBox, reached through Invoke. */
#define MX_IID_MORLEXDATE MX_GUID(0xECBC2526, 0x7EAC, 0x4378, 0x87A6C5A12B436E71ull)
/* __MorlexDate: the events, for Advise. */
#define MX_DIID_MORLEXDATE_EVENTS MX_GUID(0x8663191D, 0x2BB7, 0x4B53, 0xB142C7417C206B67ull)
/* The class object's interface (MxClassObject). */
#define MX_IID_CLASSOBJECT MX_GUID(0x023FED19, 0x3005, 0x4583, 0xA9A75DBDAFD2E96Dull)

/* --- Values ------------------------------------------------------------- */

enum MxValueType {
  MX_VT_EMPTY = 0,
  MX_VT_I4 = 3,     /* 32-bit signed integer; also colours */
  MX_VT_R4 = 4,     /* single precision */
  MX_VT_R8 = 5,     /* double precision */
  MX_VT_STRING = 8, /* UTF-8 text */
  MX_VT_FONT = 9,   /* a font object, by reference */
  MX_VT_BOOL = 11   /* -1 true, 0 false */
};

typedef struct MxVariant {
  uint16_t type; /* an MxValueType */
  union {
    int32_t i4;
    float r4;
    double r8;
    int16_t boolean;
    struct {
      const char* data; /* UTF-8; NUL-terminated in results */
      uint32_t length;  /* in bytes, without the NUL */
    } string;
    /* A pointer to a std::shared_ptr<morlex::platform::Font>. Given to the
       control (putref), the control shares that font object; in a result it
       is a new shared pointer to the control's font object. */
    void* font;
  } value;
} MxVariant;

/* The error record of a failed call and of the DateError event: number,
   source and description (UTF-8, NUL-terminated, cut to fit). */
typedef struct MxErrorInfo {
  int32_t number;
  char source[128];
  char description[384];
} MxErrorInfo;

/* --- Events (__MorlexDate) ------------------------------------------------ */

#define MX_DISPID_DATECHANGED 1
#define MX_DISPID_DATEERROR 2
#define MX_DISPID_DATEINVALID 3
#define MX_DISPID_CLICK (-600)
#define MX_DISPID_DBLCLICK (-601)

/* A connected sink. Fire runs for every event before the control goes on;
   for DateError obj_err and str_custom (UTF-8, NUL-terminated, room for
   str_custom_capacity bytes) are in-out arguments the sink may change, which
   the control never reads back; for the other events they are NULL and 0.
   A sink may call back into the control. Release, when not NULL, runs once
   when the connection ends (Unadvise, or the control's end). */
typedef struct MxEventSink {
  void* context;
  void (*Fire)(void* context, int32_t dispid, MxErrorInfo* obj_err, char* str_custom,
               uint32_t str_custom_capacity);
  void (*Release)(void* context);
} MxEventSink;

/* --- The control ---------------------------------------------------------- */

#define MX_DISPATCH_METHOD 1
#define MX_DISPATCH_PROPERTYGET 2
#define MX_DISPATCH_PROPERTYPUT 4
#define MX_DISPATCH_PROPERTYPUTREF 8

/* The control's own properties added after the original ones (reach them
   through Invoke like any other), and the values of DateOrder. DateSeparator
   is a string: "/" (the default), "." or "-". */
#define MX_DISPID_DATEORDER 0x6803000E
#define MX_DISPID_DATESEPARATOR 0x6803000D
#define MX_DATEORDER_MONTHDAYYEAR 0
#define MX_DATEORDER_DAYMONTHYEAR 1
#define MX_DATEORDER_YEARMONTHDAY 2

typedef struct MxControl MxControl;

typedef struct MxControlVtbl {
  uint32_t (*AddRef)(MxControl* self);
  /* The control ends with its last reference; its sinks are released. */
  uint32_t (*Release)(MxControl* self);

  /* The dispatch identifier of a member, by name (any case). */
  MxResult (*GetIDOfName)(MxControl* self, const char* name, int32_t* dispid);
  /* Calls a member: a property get (result receives the value), put or
     putref (argument), or the method AboutBox. A write to a property without
     that accessor (DateIsValid) is refused with MX_DISP_E_MEMBERNOTFOUND; a
     failure of the control gives MX_DISP_E_EXCEPTION with error filled in.
     result and error may be NULL. */
  MxResult (*Invoke)(MxControl* self, int32_t dispid, uint16_t flags, const MxVariant* argument,
                     MxVariant* result, MxErrorInfo* error);
  /* Frees what a result holds (a string, a font reference) and empties it. */
  void (*ClearVariant)(MxVariant* value);

  /* Connects a sink of __MorlexDate (event_iid MX_DIID_MORLEXDATE_EVENTS);
     any number may be connected, and they run in the order connected. */
  MxResult (*Advise)(MxControl* self, const MxGuid* event_iid, const MxEventSink* sink,
                     uint32_t* cookie);
  MxResult (*Unadvise)(MxControl* self, uint32_t cookie);

  /* Exactly one of InitNew (a new control placed on a form) or Load (stored
     settings from a morlex::platform::PropertyBag*), once, after creation.
     Load never fails on the bag's content. */
  MxResult (*InitNew)(MxControl* self, MxErrorInfo* error);
  MxResult (*Load)(MxControl* self, void* property_bag);
  /* Saves the settings into a morlex::platform::PropertyBag*. */
  MxResult (*Save)(MxControl* self, void* property_bag, MxErrorInfo* error);

  /* The host's notices: after every change of the control's size, and when
     it shows the control. */
  MxResult (*Resize)(MxControl* self, MxErrorInfo* error);
  MxResult (*Show)(MxControl* self, MxErrorInfo* error);
} MxControlVtbl;

struct MxControl {
  const MxControlVtbl* vtbl;
};

/* --- The class object ------------------------------------------------------ */

typedef struct MxClassObject MxClassObject;

typedef struct MxClassObjectVtbl {
  uint32_t (*AddRef)(MxClassObject* self);
  uint32_t (*Release)(MxClassObject* self);
  /* Creates a control for a host: host_site is a morlex::platform::HostSite*,
     toolkit a morlex::platform::Toolkit*, both outliving the control; iid
     must be MX_IID_MORLEXDATE. The control starts with one reference. */
  MxResult (*CreateInstance)(MxClassObject* self, void* host_site, void* toolkit, const MxGuid* iid,
                             MxControl** instance);
  /* A non-zero lock keeps the module loaded without any control. */
  MxResult (*LockServer)(MxClassObject* self, int32_t lock);
} MxClassObjectVtbl;

struct MxClassObject {
  const MxClassObjectVtbl* vtbl;
};

/* --- Entry points ------------------------------------------------------------ */

#if defined(__GNUC__)
#define MX_EXPORT __attribute__((visibility("default")))
#else
#define MX_EXPORT
#endif

MX_EXPORT MxResult DllRegisterServer(void);
MX_EXPORT MxResult DllUnregisterServer(void);
/* clsid must be MX_CLSID_MORLEXDATE, iid MX_IID_CLASSOBJECT. */
MX_EXPORT MxResult DllGetClassObject(const MxGuid* clsid, const MxGuid* iid, void** object);
MX_EXPORT MxResult DllCanUnloadNow(void);

typedef MxResult (*MxDllRegisterServerFn)(void);
typedef MxResult (*MxDllUnregisterServerFn)(void);
typedef MxResult (*MxDllGetClassObjectFn)(const MxGuid*, const MxGuid*, void**);
typedef MxResult (*MxDllCanUnloadNowFn)(void);

#ifdef __cplusplus
}
#endif

#endif /* MORLEX_COMPONENT_MODULE_ABI_H */
