#pragma once
// Failures on demand at named call sites, for the wrappers that stand
// between the control and its host, toolkit and property bag.
//
//   FaultPlan plan;
//   plan.Arm("txtDate.SetText");            // the next call fails
//   plan.Arm("NotifyChanged:Text", 2, 0);   // the 2nd call and every later one
//
// Sites: a host call by its name ("CanChange", "SetWidth", "NotifyChanged:KEY"),
// a widget call as "WIDGET.Operation" ("txtDate.SetText", "lblDay.SetCaption";
// "txtDate.SetText:after" fails once the text has changed), a toolkit call
// ("CreateForm", "frmCalendar.ShowModal"), a bag call ("ReadProperty:KEY",
// "WriteProperty:KEY").

#include <map>
#include <string>
#include <string_view>

#include "morlex/core/error.h"

namespace morlex::testing_support {

inline constexpr const char* kInjectedFailure = "Injected failure at ";

class FaultPlan {
 public:
  // From the nth call of site on (1: the next one), `times` calls fail
  // (0: every call from then on).
  void Arm(std::string site, int nth = 1, int times = 1) {
    Fault& f = faults_[std::move(site)];
    f.skip = nth - 1;
    f.left = times;
    f.forever = times == 0;
  }
  void Clear() { faults_.clear(); }

  // Throws morlex::Error (440, "Injected failure at SITE") when an armed call
  // of site comes; counts every call.
  void Hit(std::string_view site) {
    ++calls_[std::string(site)];
    const auto it = faults_.find(site);
    if (it == faults_.end()) return;
    Fault& f = it->second;
    if (f.skip > 0) {
      --f.skip;
      return;
    }
    if (!f.forever && f.left <= 0) return;
    --f.left;
    ++injected_;
    throw Error(errnum::kHostFailure, kInjectedFailure + std::string(site));
  }

  int Calls(std::string_view site) const {
    const auto it = calls_.find(site);
    return it == calls_.end() ? 0 : it->second;
  }
  // Failures thrown so far.
  int Injected() const { return injected_; }

 private:
  struct Fault {
    int skip = 0;
    int left = 1;
    bool forever = false;
  };
  std::map<std::string, Fault, std::less<>> faults_;
  std::map<std::string, int, std::less<>> calls_;
  int injected_ = 0;
};

inline std::string InjectedAt(std::string_view site) {
  return kInjectedFailure + std::string(site);
}

}  // namespace morlex::testing_support
