// The loadable module: its four entry points, the class object and the
// control objects handed out through the C interface of module_abi.h.
//
// Nothing thrown inside may cross the C interface: every function below
// turns failures into status codes (and an error record where it has one).
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "morlex/component/dispatch.h"
#include "morlex/component/module_abi.h"
#include "morlex/component/registry.h"
#include "morlex/component/type_library.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/error.h"
#include "morlex/core/unicode.h"

namespace morlex::component {
namespace {

using platform::Variant;

// Module bookkeeping: live controls and host locks.
std::atomic<long> g_instances{0};
std::atomic<long> g_locks{0};

bool Same(const MxGuid* a, const Guid& b) {
  return a != nullptr && a->data1 == b.data1 && a->data2 == b.data2 && a->data3 == b.data3 &&
         std::equal(b.data4.begin(), b.data4.end(), a->data4);
}

// Copies UTF-8 text into a fixed buffer, cut at a character boundary.
void CopyText(char* out, std::size_t capacity, std::string_view text) {
  if (out == nullptr || capacity == 0) return;
  std::size_t n = std::min(text.size(), capacity - 1);
  if (n < text.size()) {
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  }
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

void Fill(MxErrorInfo* out, std::int32_t number, std::string_view source,
          std::string_view description) {
  if (out == nullptr) return;
  out->number = number;
  CopyText(out->source, sizeof out->source, source);
  CopyText(out->description, sizeof out->description, description);
}

// Turns the failure being handled into a status code and an error record.
MxResult Failure(MxErrorInfo* error, MxResult code = MX_DISP_E_EXCEPTION) {
  try {
    throw;
  } catch (const Error& e) {
    Fill(error, e.number(), e.source().empty() ? "MorlexDate" : e.source(), e.description());
    if (e.number() == errnum::kNoSuchMember || e.number() == errnum::kReadOnly) {
      return MX_DISP_E_MEMBERNOTFOUND;
    }
    if (e.number() == errnum::kTypeMismatch) return MX_DISP_E_TYPEMISMATCH;
  } catch (const std::bad_alloc&) {
    Fill(error, errnum::kOutOfMemory, "MorlexDate", ErrorMessage(errnum::kOutOfMemory));
    return MX_E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    Fill(error, errnum::kHostFailure, "MorlexDate", e.what());
  } catch (...) {
    Fill(error, errnum::kHostFailure, "MorlexDate", kUnknownFailure);
  }
  return code;
}

// --- Values across the C interface -------------------------------------------

Variant FromC(const MxVariant* v) {
  if (v == nullptr) return {};
  switch (v->type) {
    case MX_VT_EMPTY:
      return {};
    case MX_VT_I4:
      return v->value.i4;
    case MX_VT_R4:
      return v->value.r4;
    case MX_VT_R8:
      return v->value.r8;
    case MX_VT_BOOL:
      return v->value.boolean != 0;
    case MX_VT_STRING:
      if (v->value.string.data == nullptr) return std::u16string();
      return FromUtf8(std::string_view(v->value.string.data, v->value.string.length));
    case MX_VT_FONT:
      if (v->value.font == nullptr) return platform::FontRef();
      return *static_cast<const platform::FontRef*>(v->value.font);
    default:
      throw Error(errnum::kTypeMismatch);
  }
}

void ClearVariant(MxVariant* v) {
  if (v == nullptr) return;
  if (v->type == MX_VT_STRING) std::free(const_cast<char*>(v->value.string.data));
  if (v->type == MX_VT_FONT) delete static_cast<platform::FontRef*>(v->value.font);
  std::memset(v, 0, sizeof *v);
}

void ToC(const Variant& value, MxVariant* out) {
  MxVariant v{};
  if (const auto* b = std::get_if<bool>(&value)) {
    v.type = MX_VT_BOOL;
    v.value.boolean = *b ? -1 : 0;
  } else if (const auto* i = std::get_if<std::int32_t>(&value)) {
    v.type = MX_VT_I4;
    v.value.i4 = *i;
  } else if (const auto* f = std::get_if<float>(&value)) {
    v.type = MX_VT_R4;
    v.value.r4 = *f;
  } else if (const auto* d = std::get_if<double>(&value)) {
    v.type = MX_VT_R8;
    v.value.r8 = *d;
  } else if (const auto* s = std::get_if<std::u16string>(&value)) {
    const std::string utf8 = ToUtf8(*s);
    char* data = static_cast<char*>(std::malloc(utf8.size() + 1));
    if (data == nullptr) throw std::bad_alloc();
    std::memcpy(data, utf8.c_str(), utf8.size() + 1);
    v.type = MX_VT_STRING;
    v.value.string.data = data;
    v.value.string.length = static_cast<std::uint32_t>(utf8.size());
  } else if (const auto* font = std::get_if<platform::FontRef>(&value)) {
    v.type = MX_VT_FONT;
    v.value.font = new platform::FontRef(*font);
  }
  *out = v;
}

// --- Event connections ------------------------------------------------------------

// The C header spells the dispatch ids out for C hosts; they must be the
// event table's.
static_assert(MX_DISPID_DATECHANGED == EventDispid(Event::kDateChanged));
static_assert(MX_DISPID_DATEERROR == EventDispid(Event::kDateError));
static_assert(MX_DISPID_DATEINVALID == EventDispid(Event::kDateInvalid));
static_assert(MX_DISPID_CLICK == EventDispid(Event::kClick));
static_assert(MX_DISPID_DBLCLICK == EventDispid(Event::kDblClick));

// Forwards the control's events to one C sink.
class SinkAdapter final : public EventRelay {
 public:
  explicit SinkAdapter(const MxEventSink& sink) : sink_(sink) {}
  ~SinkAdapter() override {
    if (sink_.Release != nullptr) sink_.Release(sink_.context);
  }
  SinkAdapter(const SinkAdapter&) = delete;
  SinkAdapter& operator=(const SinkAdapter&) = delete;

  void OnEvent(Event event) override { Fire(EventDispid(event)); }
  void DateError(ErrObject& objErr, std::u16string& strCustom) override {
    if (sink_.Fire == nullptr) return;
    MxErrorInfo err{};
    Fill(&err, objErr.number, objErr.source, objErr.description);
    char custom[512];
    CopyText(custom, sizeof custom, ToUtf8(strCustom));
    // Both are the sink's to change; the control does not read them back.
    sink_.Fire(sink_.context, MX_DISPID_DATEERROR, &err, custom, sizeof custom);
  }

 private:
  void Fire(std::int32_t dispid) {
    if (sink_.Fire != nullptr) sink_.Fire(sink_.context, dispid, nullptr, nullptr, 0);
  }
  MxEventSink sink_;
};

// --- The control object --------------------------------------------------------------

extern const MxControlVtbl kControlVtbl;

// The C interface's pointer is the base part of this object.
struct ControlObject : MxControl {
  ControlObject() : MxControl{&kControlVtbl} {}
  std::atomic<std::uint32_t> refs{1};
  std::unique_ptr<MorlexDate> control;

  static ControlObject* From(MxControl* self) { return static_cast<ControlObject*>(self); }
};

std::uint32_t ControlAddRef(MxControl* self) {
  return self == nullptr ? 0 : ++ControlObject::From(self)->refs;
}

std::uint32_t ControlRelease(MxControl* self) {
  if (self == nullptr) return 0;
  ControlObject* obj = ControlObject::From(self);
  const std::uint32_t left = --obj->refs;
  if (left == 0) {
    try {
      delete obj;
    } catch (...) {
    }
    --g_instances;
  }
  return left;
}

MxResult ControlGetIDOfName(MxControl* self, const char* name, std::int32_t* dispid) {
  if (self == nullptr || name == nullptr || dispid == nullptr) return MX_E_POINTER;
  const MemberInfo* m = FindMember(std::string_view(name));
  if (m == nullptr) return MX_DISP_E_UNKNOWNNAME;
  *dispid = m->dispid;
  return MX_S_OK;
}

MxResult ControlInvoke(MxControl* self, std::int32_t dispid, std::uint16_t flags,
                       const MxVariant* argument, MxVariant* result, MxErrorInfo* error) {
  if (self == nullptr) return MX_E_POINTER;
  if (result != nullptr) *result = MxVariant{};
  const MemberInfo* m = FindMember(dispid);
  if (m == nullptr) {
    Fill(error, errnum::kNoSuchMember, "MorlexDate", ErrorMessage(errnum::kNoSuchMember));
    return MX_DISP_E_MEMBERNOTFOUND;
  }
  static constexpr std::pair<std::uint16_t, Accessor> kByFlags[] = {
      {MX_DISPATCH_METHOD, Accessor::kMethod},
      {MX_DISPATCH_PROPERTYGET, Accessor::kGet},
      {MX_DISPATCH_PROPERTYPUT, Accessor::kPut},
      {MX_DISPATCH_PROPERTYPUTREF, Accessor::kPutRef}};
  const auto* found = std::find_if(std::begin(kByFlags), std::end(kByFlags),
                                   [flags](const auto& entry) { return entry.first == flags; });
  if (found == std::end(kByFlags)) return MX_E_INVALIDARG;
  Accessor accessor = found->second;
  // A property read as a method call, as automation allows, is a get.
  if (accessor == Accessor::kMethod && !m->Has(Accessor::kMethod) && m->Has(Accessor::kGet)) {
    accessor = Accessor::kGet;
  }
  try {
    const Variant value =
        Invoke(*ControlObject::From(self)->control, *m, accessor, FromC(argument));
    if (result != nullptr) ToC(value, result);
    return MX_S_OK;
  } catch (...) {
    return Failure(error);
  }
}

MxResult ControlAdvise(MxControl* self, const MxGuid* event_iid, const MxEventSink* sink,
                       std::uint32_t* cookie) {
  if (self == nullptr || sink == nullptr || cookie == nullptr) return MX_E_POINTER;
  if (!Same(event_iid, kEventInterfaceId)) return MX_E_NOINTERFACE;
  try {
    *cookie = ControlObject::From(self)->control->Advise(std::make_shared<SinkAdapter>(*sink));
    return MX_S_OK;
  } catch (...) {
    return Failure(nullptr, MX_E_FAIL);
  }
}

MxResult ControlUnadvise(MxControl* self, std::uint32_t cookie) {
  if (self == nullptr) return MX_E_POINTER;
  try {
    ControlObject::From(self)->control->Unadvise(cookie);
    return MX_S_OK;
  } catch (...) {
    return Failure(nullptr, MX_E_FAIL);
  }
}

template <typename Fn>
MxResult Guard(MxControl* self, MxErrorInfo* error, Fn&& fn) {
  if (self == nullptr) return MX_E_POINTER;
  try {
    fn(*ControlObject::From(self)->control);
    return MX_S_OK;
  } catch (...) {
    return Failure(error, MX_E_FAIL);
  }
}

MxResult ControlInitNew(MxControl* self, MxErrorInfo* error) {
  return Guard(self, error, [](MorlexDate& c) { c.InitProperties(); });
}

MxResult ControlLoad(MxControl* self, void* bag) {
  if (bag == nullptr) return MX_E_POINTER;
  return Guard(self, nullptr, [bag](MorlexDate& c) {
    c.ReadProperties(*static_cast<platform::PropertyBag*>(bag));
  });
}

MxResult ControlSave(MxControl* self, void* bag, MxErrorInfo* error) {
  if (bag == nullptr) return MX_E_POINTER;
  return Guard(self, error, [bag](MorlexDate& c) {
    c.WriteProperties(*static_cast<platform::PropertyBag*>(bag));
  });
}

MxResult ControlResize(MxControl* self, MxErrorInfo* error) {
  return Guard(self, error, [](MorlexDate& c) { c.Resize(); });
}

MxResult ControlShow(MxControl* self, MxErrorInfo* error) {
  return Guard(self, error, [](MorlexDate& c) { c.Show(); });
}

const MxControlVtbl kControlVtbl = {
    ControlAddRef, ControlRelease, ControlGetIDOfName, ControlInvoke,
    ClearVariant,  ControlAdvise,  ControlUnadvise,    ControlInitNew,
    ControlLoad,   ControlSave,    ControlResize,      ControlShow,
};

// --- The class object ----------------------------------------------------------------

// One static class object; its references do not keep the module loaded
// (hosts use LockServer for that), only live controls and locks do.
std::uint32_t FactoryAddRef(MxClassObject*) {
  return 2;
}
std::uint32_t FactoryRelease(MxClassObject*) {
  return 1;
}

MxResult FactoryCreateInstance(MxClassObject* self, void* host_site, void* toolkit,
                               const MxGuid* iid, MxControl** instance) {
  if (instance == nullptr) return MX_E_POINTER;
  *instance = nullptr;
  if (self == nullptr || host_site == nullptr || toolkit == nullptr) return MX_E_POINTER;
  if (!Same(iid, kInterfaceId)) return MX_E_NOINTERFACE;
  try {
    auto obj = std::make_unique<ControlObject>();
    obj->control = std::make_unique<MorlexDate>(*static_cast<platform::HostSite*>(host_site),
                                                *static_cast<platform::Toolkit*>(toolkit));
    ++g_instances;
    *instance = obj.release();
    return MX_S_OK;
  } catch (...) {
    return Failure(nullptr, MX_E_FAIL);
  }
}

MxResult FactoryLockServer(MxClassObject*, std::int32_t lock) {
  if (lock != 0) {
    ++g_locks;
    return MX_S_OK;
  }
  // An unlock without a lock would let the module go while a host relies on it.
  long current = g_locks.load();
  while (current > 0 && !g_locks.compare_exchange_weak(current, current - 1)) {
  }
  return current > 0 ? MX_S_OK : MX_E_FAIL;
}

const MxClassObjectVtbl kFactoryVtbl = {FactoryAddRef, FactoryRelease, FactoryCreateInstance,
                                        FactoryLockServer};
MxClassObject g_factory{&kFactoryVtbl};

// Where this module lives, for the registry.
std::string ModulePath() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&DllGetClassObject), &info) == 0 ||
      info.dli_fname == nullptr) {
    throw Error(errnum::kFileFailure, "Cannot find the module's own file");
  }
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(info.dli_fname, ec);
  return ec ? std::string(info.dli_fname) : absolute.string();
}

}  // namespace
}  // namespace morlex::component

using namespace morlex::component;

extern "C" MxResult DllRegisterServer(void) {
  try {
    AddRegistryEntries(RegistryPath(), RegistrationEntries(ModulePath()));
    return MX_S_OK;
  } catch (...) {
    return MX_SELFREG_E_CLASS;
  }
}

extern "C" MxResult DllUnregisterServer(void) {
  try {
    // The module's path is not part of an entry's identity: entries written
    // from another folder are removed too, as the class is one and the same.
    RemoveRegistryEntries(RegistryPath(), RegistrationEntries(std::string()));
    return MX_S_OK;
  } catch (...) {
    return MX_SELFREG_E_CLASS;
  }
}

extern "C" MxResult DllGetClassObject(const MxGuid* clsid, const MxGuid* iid, void** object) {
  if (object == nullptr) return MX_E_POINTER;
  *object = nullptr;
  if (!Same(clsid, kClassId)) return MX_CLASS_E_CLASSNOTAVAILABLE;
  if (!Same(iid, kClassObjectInterfaceId)) return MX_E_NOINTERFACE;
  *object = &g_factory;
  return MX_S_OK;
}

extern "C" MxResult DllCanUnloadNow(void) {
  return g_instances.load() == 0 && g_locks.load() == 0 ? MX_S_OK : MX_S_FALSE;
}
