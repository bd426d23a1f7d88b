#pragma once
// A host site and a property bag that fail on demand: each wraps a sound one
// (the in-memory test host, a memory bag) and passes every call on, unless
// the fault plan makes that call fail first.

#include <string>
#include <string_view>

#include "fault_plan.h"
#include "morlex/headless/host.h"
#include "morlex/headless/property_bag.h"

namespace morlex::testing_support {

class FaultyHost final : public platform::HostSite {
 public:
  FaultyHost(headless::TestHost& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  bool UserMode() const override {
    plan_.Hit("UserMode");
    return inner_.UserMode();
  }
  platform::FontRef AmbientFont() const override {
    plan_.Hit("AmbientFont");
    return inner_.AmbientFont();
  }
  void NotifyChanged(std::string_view key) override {
    plan_.Hit("NotifyChanged:" + std::string(key));
    inner_.NotifyChanged(key);
  }
  bool CanChange(std::string_view key) override {
    plan_.Hit("CanChange");
    return inner_.CanChange(key);
  }
  float Width() const override {
    plan_.Hit("Width");
    return inner_.Width();
  }
  float Height() const override {
    plan_.Hit("Height");
    return inner_.Height();
  }
  void SetWidth(float twips) override {
    plan_.Hit("SetWidth");
    inner_.SetWidth(twips);
  }
  void SetHeight(float twips) override {
    plan_.Hit("SetHeight");
    inner_.SetHeight(twips);
  }
  bool Enabled() const override {
    plan_.Hit("Enabled");
    return inner_.Enabled();
  }
  void SetEnabled(bool enabled) override {
    plan_.Hit("SetEnabled");
    inner_.SetEnabled(enabled);
  }
  const platform::Widget* ActiveConstituent() const override {
    plan_.Hit("ActiveConstituent");
    return inner_.ActiveConstituent();
  }
  const platform::Clock& GetClock() const override {
    plan_.Hit("GetClock");
    return inner_.GetClock();
  }
  platform::ComponentVersion Version() const override {
    plan_.Hit("Version");
    return inner_.Version();
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
