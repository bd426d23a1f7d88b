#pragma once
// A host site and a property bag that fail on demand: each wraps a sound one
// (the in-memory test host, a memory bag) and passes every call on, unless
// the fault plan makes that call fail first.

#include <string>
#include <string_view>
#include <utility>

#include "fault_plan.h"
#include "morlex/headless/host.h"
#include "morlex/headless/property_bag.h"

namespace morlex::testing_support {

class FaultyHost final : public platform::HostSite {
  // The plan's say on the call first (it may throw), then the sound host's.
  template <typename Call>
  decltype(auto) Pass(std::string_view call, Call&& inner_call) const {
    plan_.Hit(call);
    return std::forward<Call>(inner_call)();
  }

 public:
  FaultyHost(headless::TestHost& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  bool UserMode() const override {
    return Pass("UserMode", [&] { return inner_.UserMode(); });
  }
  platform::FontRef AmbientFont() const override {
    return Pass("AmbientFont", [&] { return inner_.AmbientFont(); });
  }
  void NotifyChanged(std::string_view key) override {
    Pass("NotifyChanged:" + std::string(key), [&] { inner_.NotifyChanged(key); });
  }
  bool CanChange(std::string_view key) override {
    return Pass("CanChange", [&] { return inner_.CanChange(key); });
  }
  float Width() const override {
    return Pass("Width", [&] { return inner_.Width(); });
  }
  float Height() const override {
    return Pass("Height", [&] { return inner_.Height(); });
  }
  void SetWidth(float twips) override {
    Pass("SetWidth", [&] { inner_.SetWidth(twips); });
  }
  void SetHeight(float twips) override {
    Pass("SetHeight", [&] { inner_.SetHeight(twips); });
  }
  bool Enabled() const override {
    return Pass("Enabled", [&] { return inner_.Enabled(); });
  }
  void SetEnabled(bool enabled) override {
    Pass("SetEnabled", [&] { inner_.SetEnabled(enabled); });
  }
  const platform::Widget* ActiveConstituent() const override {
    return Pass("ActiveConstituent", [&] { return inner_.ActiveConstituent(); });
  }
  const platform::Clock& GetClock() const override {
    return Pass("GetClock", [&]() -> const platform::Clock& { return inner_.GetClock(); });
  }
  platform::ComponentVersion Version() const override {
    return Pass("Version", [&] { return inner_.Version(); });
  }

 private:
  headless::TestHost& inner_;
  FaultPlan& plan_;
};

// A property bag whose reads and writes fail on demand, per key.
class FaultyBag final : public platform::PropertyBag {
 public:
  FaultyBag(platform::PropertyBag& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  platform::Variant ReadProperty(std::string_view key,
                                 const platform::Variant& default_value) override {
    plan_.Hit("ReadProperty:" + std::string(key));
    return inner_.ReadProperty(key, default_value);
  }
  void WriteProperty(std::string_view key, const platform::Variant& value,
                     const platform::Variant& default_value) override {
    plan_.Hit("WriteProperty:" + std::string(key));
    inner_.WriteProperty(key, value, default_value);
  }

 private:
  platform::PropertyBag& inner_;
  FaultPlan& plan_;
};

}  // namespace morlex::testing_support
