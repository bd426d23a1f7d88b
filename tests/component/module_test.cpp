// The built module, loaded the way a host loads it: registration, the class
// object, a control reached through the C interface, two event sinks, and
// the unload query.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "morlex/component/module_abi.h"
#include "morlex/component/registry.h"
#include "morlex/core/error.h"
#include "morlex/headless/toolkit.h"
#include "morlex/platform/host.h"

namespace {

namespace fs = std::filesystem;
namespace platform = morlex::platform;

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A host for a control that lives in the module: resize notices go back
// through the C interface.
class ModuleHost final : public platform::HostSite {
 public:
  bool UserMode() const override { return true; }
  platform::FontRef AmbientFont() const override { return font_; }
  void NotifyChanged(std::string_view key) override {
    notices.emplace_back(key);
    if (fail_text && key == "Text") throw morlex::Error(440, "cannot store");
  }
  bool CanChange(std::string_view) override { return true; }
  float Width() const override { return width_; }
  float Height() const override { return height_; }
  void SetWidth(float w) override {
    width_ = w;
    Notify();
  }
  void SetHeight(float h) override {
    height_ = h;
    Notify();
  }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool e) override { enabled_ = e; }
  const platform::Widget* ActiveConstituent() const override {
    return surface != nullptr ? surface->Focused() : nullptr;
  }
  const platform::Clock& GetClock() const override { return clock_; }

  MxControl* control = nullptr;
  morlex::headless::Surface* surface = nullptr;
  std::vector<std::string> notices;
  bool fail_text = false;

 private:
  void Notify() {
    if (control != nullptr) control->vtbl->Resize(control, nullptr);
  }
  platform::FontRef font_ = std::make_shared<platform::Font>();
  platform::FixedClock clock_{{2026, 12, 8}};
  float width_ = 2280, height_ = 885;
  bool enabled_ = true;
};

// A C sink that records what it receives, tagged with its name.
struct Recorder {
  std::string name;
  std::vector<std::string>* log;
  bool released = false;

  static void Fire(void* ctx, int32_t dispid, MxErrorInfo* err, char* custom, uint32_t cap) {
    auto* self = static_cast<Recorder*>(ctx);
    std::string line = self->name + ":" + std::to_string(dispid);
    if (err != nullptr) {
      line += std::string(" ") + err->source + " \"" + custom + "\"";
      // A sink may change both; the control must not care.
      err->number = 0;
      std::snprintf(custom, cap, "%s", "changed by the sink");
    }
    self->log->push_back(line);
  }
  static void Release(void* ctx) { static_cast<Recorder*>(ctx)->released = true; }
  MxEventSink Sink() { return MxEventSink{this, &Fire, &Release}; }
};

MxVariant String(const char* s) {
  MxVariant v{};
  v.type = MX_VT_STRING;
  v.value.string.data = s;
  v.value.string.length = static_cast<uint32_t>(std::strlen(s));
  return v;
}

class Module : public testing::Test {
 protected:
  void SetUp() override {
    registry_ =
        fs::path(testing::TempDir()) / ("morlex-registry-" + std::to_string(::getpid()) + ".txt");
    ::setenv("MORLEX_REGISTRY", registry_.c_str(), 1);
    lib_ = ::dlopen(MORLEX_MODULE_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib_, nullptr) << ::dlerror();
    reg_ = reinterpret_cast<MxDllRegisterServerFn>(::dlsym(lib_, "DllRegisterServer"));
    unreg_ = reinterpret_cast<MxDllUnregisterServerFn>(::dlsym(lib_, "DllUnregisterServer"));
    get_ = reinterpret_cast<MxDllGetClassObjectFn>(::dlsym(lib_, "DllGetClassObject"));
    can_unload_ = reinterpret_cast<MxDllCanUnloadNowFn>(::dlsym(lib_, "DllCanUnloadNow"));
    ASSERT_TRUE(reg_ && unreg_ && get_ && can_unload_);
  }
  void TearDown() override {
    if (lib_ != nullptr) ::dlclose(lib_);
    ::unsetenv("MORLEX_REGISTRY");
    std::error_code ec;
    fs::remove(registry_, ec);
    fs::remove(registry_.string() + ".lock", ec);
  }

  MxClassObject* Factory() {
    const MxGuid clsid = MX_CLSID_MORLEXDATE;
    const MxGuid iid = MX_IID_CLASSOBJECT;
    void* object = nullptr;
    EXPECT_EQ(get_(&clsid, &iid, &object), MX_S_OK);
    return static_cast<MxClassObject*>(object);
  }

  fs::path registry_;
  void* lib_ = nullptr;
  MxDllRegisterServerFn reg_ = nullptr;
  MxDllUnregisterServerFn unreg_ = nullptr;
  MxDllGetClassObjectFn get_ = nullptr;
  MxDllCanUnloadNowFn can_unload_ = nullptr;
};

TEST_F(Module, ExportsOnlyTheFourEntryPoints) {
  EXPECT_EQ(::dlsym(lib_, "_ZN6morlex9component7MembersEv"), nullptr);
  EXPECT_EQ(::dlsym(lib_, "_ZN6morlex10MorlexDate14InitPropertiesEv"), nullptr);
}

TEST_F(Module, AHostsWholeLifeWithTheModule) {
  // Another program's entries are in the registry already.
  const std::string others =
      "# registry\nClasses\\Other.Thing = \"Thing\"\nClasses\\Other.Thing\\CLSID = \"{1}\"\n";
  { std::ofstream(registry_, std::ios::binary) << others; }

  ASSERT_EQ(reg_(), MX_S_OK);
  const auto entries = morlex::component::ReadRegistry(registry_);
  const std::string clsid_key = "Classes\\CLSID\\{DA8F975A-1B16-49F1-AA70-C2481B472CBF}";
  bool found_server = false;
  for (const auto& e : entries) {
    if (e.key == clsid_key + "\\InprocServer32" && e.name.empty()) {
      found_server = true;
      EXPECT_TRUE(fs::equivalent(e.value, MORLEX_MODULE_FILE)) << e.value;
    }
    if (e.key == clsid_key + "\\MiscStatus\\1") {
      EXPECT_EQ(e.value, "131473");
    }
  }
  EXPECT_TRUE(found_server);
  EXPECT_EQ(ReadText(registry_).substr(0, others.size()), others);
  EXPECT_EQ(reg_(), MX_S_OK);  // registering twice changes nothing
  EXPECT_EQ(morlex::component::ReadRegistry(registry_).size(), entries.size());

  EXPECT_EQ(can_unload_(), MX_S_OK);
  MxClassObject* factory = Factory();
  ASSERT_NE(factory, nullptr);

  morlex::headless::Toolkit toolkit;
  ModuleHost host;
  const MxGuid dual = MX_IID_MORLEXDATE;
  MxControl* date = nullptr;
  ASSERT_EQ(factory->vtbl->CreateInstance(factory, &host, &toolkit, &dual, &date), MX_S_OK);
  factory->vtbl->Release(factory);
  host.control = date;
  host.surface = toolkit.LastControlSurface();
  EXPECT_EQ(can_unload_(), MX_S_FALSE);

  std::vector<std::string> log;
  Recorder first{"first", &log}, second{"second", &log};
  const MxGuid source = MX_DIID_MORLEXDATE_EVENTS;
  uint32_t c1 = 0, c2 = 0;
  MxEventSink s1 = first.Sink(), s2 = second.Sink();
  ASSERT_EQ(date->vtbl->Advise(date, &source, &s1, &c1), MX_S_OK);
  ASSERT_EQ(date->vtbl->Advise(date, &source, &s2, &c2), MX_S_OK);
  MxErrorInfo err{};
  ASSERT_EQ(date->vtbl->InitNew(date, &err), MX_S_OK);
  ASSERT_EQ(date->vtbl->Resize(date, &err), MX_S_OK);
  EXPECT_EQ(host.Width(), 1635);

  // By name and by identifier, the same accessor.
  int32_t text_id = 0, about_id = 0;
  ASSERT_EQ(date->vtbl->GetIDOfName(date, "text", &text_id), MX_S_OK);
  EXPECT_EQ(text_id, -517);
  ASSERT_EQ(date->vtbl->GetIDOfName(date, "AboutBox", &about_id), MX_S_OK);
  EXPECT_EQ(about_id, -552);
  int32_t none = 0;
  EXPECT_EQ(date->vtbl->GetIDOfName(date, "Value", &none), MX_DISP_E_UNKNOWNNAME);

  log.clear();
  const MxVariant text = String("1/2/99");
  ASSERT_EQ(date->vtbl->Invoke(date, text_id, MX_DISPATCH_PROPERTYPUT, &text, nullptr, &err),
            MX_S_OK);
  EXPECT_EQ(log, (std::vector<std::string>{"first:1", "second:1"}));
  MxVariant got{};
  ASSERT_EQ(date->vtbl->Invoke(date, -517, MX_DISPATCH_PROPERTYGET, nullptr, &got, &err), MX_S_OK);
  ASSERT_EQ(got.type, MX_VT_STRING);
  EXPECT_STREQ(got.value.string.data, "1/2/99");
  date->vtbl->ClearVariant(&got);
  EXPECT_EQ(got.type, MX_VT_EMPTY);

  ASSERT_EQ(date->vtbl->Invoke(date, 1745027098, MX_DISPATCH_PROPERTYGET, nullptr, &got, &err),
            MX_S_OK);
  ASSERT_EQ(got.type, MX_VT_BOOL);
  EXPECT_EQ(got.value.boolean, -1);  // 1/2/99 is a date

  // DateIsValid has no put: the write is refused.
  MxVariant yes{};
  yes.type = MX_VT_BOOL;
  yes.value.boolean = -1;
  EXPECT_EQ(date->vtbl->Invoke(date, 1745027098, MX_DISPATCH_PROPERTYPUT, &yes, nullptr, &err),
            MX_DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(err.number, 383);
  EXPECT_EQ(date->vtbl->Invoke(date, 12345, MX_DISPATCH_PROPERTYGET, nullptr, &got, &err),
            MX_DISP_E_MEMBERNOTFOUND);

  // Width takes a numeric string; abc fails with the control's error.
  const MxVariant wide = String("2000");
  EXPECT_EQ(date->vtbl->Invoke(date, 1745027097, MX_DISPATCH_PROPERTYPUT, &wide, nullptr, &err),
            MX_S_OK);
  EXPECT_EQ(host.Width(), 2000);
  const MxVariant abc = String("abc");
  EXPECT_EQ(date->vtbl->Invoke(date, 1745027097, MX_DISPATCH_PROPERTYPUT, &abc, nullptr, &err),
            MX_DISP_E_TYPEMISMATCH);
  EXPECT_EQ(err.number, 13);
  EXPECT_STREQ(err.description, "Type mismatch");

  // Font is set by reference: the control shares the caller's object.
  auto font = std::make_shared<platform::Font>();
  font->name = u"Arial";
  platform::FontRef ref = font;
  MxVariant by_ref{};
  by_ref.type = MX_VT_FONT;
  by_ref.value.font = &ref;
  ASSERT_EQ(date->vtbl->Invoke(date, -512, MX_DISPATCH_PROPERTYPUTREF, &by_ref, nullptr, &err),
            MX_S_OK);
  font->size = 14;
  ASSERT_EQ(date->vtbl->Invoke(date, -512, MX_DISPATCH_PROPERTYGET, nullptr, &got, &err), MX_S_OK);
  ASSERT_EQ(got.type, MX_VT_FONT);
  EXPECT_EQ(static_cast<platform::FontRef*>(got.value.font)->get(), font.get());
  date->vtbl->ClearVariant(&got);

  // The user clicks the text box: Click (-600) on both sinks, in order.
  log.clear();
  host.surface->Text("txtDate").ClickAt(1);
  EXPECT_EQ(log, (std::vector<std::string>{"first:-600", "second:-600"}));

  // A data source that cannot store the value: DateError with its source and
  // custom text on both sinks; what the first sink changes, the second does
  // not see.
  const MxVariant rendered = String("01/02/1999");  // leaving renders nothing new
  ASSERT_EQ(date->vtbl->Invoke(date, -517, MX_DISPATCH_PROPERTYPUT, &rendered, nullptr, &err),
            MX_S_OK);
  log.clear();
  host.fail_text = true;
  host.surface->MoveFocus(nullptr);
  ASSERT_EQ(log.size(), 2U);
  EXPECT_EQ(log[0], "first:2 MorlexDate.ValidateAndUpdate \"Could not update recordset.\"");
  EXPECT_EQ(log[1], "second:2 MorlexDate.ValidateAndUpdate \"Could not update recordset.\"");
  host.fail_text = false;

  // The about box, by its standard identifier.
  EXPECT_EQ(date->vtbl->Invoke(date, -552, MX_DISPATCH_METHOD, nullptr, nullptr, &err), MX_S_OK);
  EXPECT_EQ(toolkit.LiveForms(), 0);

  // One sink leaves; the other still hears.
  ASSERT_EQ(date->vtbl->Unadvise(date, c1), MX_S_OK);
  EXPECT_TRUE(first.released);
  log.clear();
  const MxVariant other = String("3/4/05");
  ASSERT_EQ(date->vtbl->Invoke(date, -517, MX_DISPATCH_PROPERTYPUT, &other, nullptr, &err),
            MX_S_OK);
  EXPECT_EQ(log, (std::vector<std::string>{"second:1"}));

  // A lock keeps the module loaded after the last control has gone.
  MxClassObject* again = Factory();
  ASSERT_EQ(again->vtbl->LockServer(again, 1), MX_S_OK);
  date->vtbl->AddRef(date);
  EXPECT_EQ(date->vtbl->Release(date), 1U);
  EXPECT_EQ(can_unload_(), MX_S_FALSE);
  host.control = nullptr;
  EXPECT_EQ(date->vtbl->Release(date), 0U);
  EXPECT_TRUE(second.released);
  EXPECT_EQ(can_unload_(), MX_S_FALSE);
  ASSERT_EQ(again->vtbl->LockServer(again, 0), MX_S_OK);
  EXPECT_EQ(can_unload_(), MX_S_OK);
  EXPECT_EQ(again->vtbl->LockServer(again, 0), MX_E_FAIL);  // no lock left to release
  EXPECT_EQ(can_unload_(), MX_S_OK);

  ASSERT_EQ(unreg_(), MX_S_OK);
  EXPECT_EQ(ReadText(registry_), others);
}

TEST_F(Module, UnregisteringAloneLeavesOnlyOurEntriesOut) {
  ASSERT_EQ(reg_(), MX_S_OK);
  ASSERT_EQ(unreg_(), MX_S_OK);
  EXPECT_FALSE(fs::exists(registry_));  // created by registration, nothing else in it
  EXPECT_EQ(unreg_(), MX_S_OK);         // a second time: nothing to do
}

TEST_F(Module, RefusesWrongIdentifiersAndMissingPointers) {
  const MxGuid clsid = MX_CLSID_MORLEXDATE;
  const MxGuid iid = MX_IID_CLASSOBJECT;
  const MxGuid dual = MX_IID_MORLEXDATE;
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(get_(&dual, &iid, &object), MX_CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(get_(&clsid, &clsid, &object), MX_E_NOINTERFACE);
  EXPECT_EQ(get_(&clsid, &iid, nullptr), MX_E_POINTER);

  MxClassObject* factory = Factory();
  morlex::headless::Toolkit toolkit;
  ModuleHost host;
  MxControl* date = nullptr;
  EXPECT_EQ(factory->vtbl->CreateInstance(factory, &host, &toolkit, &clsid, &date),
            MX_E_NOINTERFACE);
  EXPECT_EQ(factory->vtbl->CreateInstance(factory, nullptr, &toolkit, &dual, &date), MX_E_POINTER);
  EXPECT_EQ(date, nullptr);
  EXPECT_EQ(can_unload_(), MX_S_OK);

  ASSERT_EQ(factory->vtbl->CreateInstance(factory, &host, &toolkit, &dual, &date), MX_S_OK);
  const MxEventSink sink{nullptr, nullptr, nullptr};
  uint32_t cookie = 0;
  EXPECT_EQ(date->vtbl->Advise(date, &dual, &sink, &cookie), MX_E_NOINTERFACE);
  EXPECT_EQ(date->vtbl->Invoke(date, -517, 0x40, nullptr, nullptr, nullptr), MX_E_INVALIDARG);
  MxVariant odd{};
  odd.type = 77;
  EXPECT_EQ(date->vtbl->Invoke(date, -517, MX_DISPATCH_PROPERTYPUT, &odd, nullptr, nullptr),
            MX_DISP_E_TYPEMISMATCH);
  EXPECT_EQ(date->vtbl->Release(date), 0U);
  EXPECT_EQ(can_unload_(), MX_S_OK);
}

TEST_F(Module, RegistrationFailsCleanlyWhenTheRegistryCannotBeWritten) {
  // A registry path whose folder is a file: nothing can be created there.
  const fs::path blocker = registry_.string() + ".blocker";
  { std::ofstream(blocker) << "x"; }
  ::setenv("MORLEX_REGISTRY", (blocker / "registry.txt").c_str(), 1);
  EXPECT_EQ(reg_(), MX_SELFREG_E_CLASS);
  fs::remove(blocker);
}

}  // namespace
