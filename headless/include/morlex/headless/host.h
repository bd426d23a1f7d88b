#pragma once
// A host container kept in memory: it owns the control's size, answers
// CanChange, stores a bound "Text" on NotifyChanged (or fails to, on
// request), and tells an observer every notice it receives.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "morlex/designs/form_designs.h"
#include "morlex/headless/toolkit.h"
#include "morlex/platform/host.h"

namespace morlex {
class MorlexDate;
}

namespace morlex::headless {

// How the host behaves; shared by the hosts of every toolkit.
struct HostPolicy {
  bool user_mode = true;
  bool can_change = true;
  // While set, NotifyChanged("Text") fails as a data source that cannot
  // store the value would.
  bool fail_notify = false;
  // While set, the host keeps the control's height at this value.
  std::optional<float> lock_height;
  platform::FontRef ambient_font = std::make_shared<platform::Font>();
  const platform::Clock* clock = nullptr;  // nullptr: the system clock
  // Observers (may be empty): a notice received, a notice that failed.
  std::function<void(std::string_view key)> on_notify;
  std::function<void(std::string_view key)> on_notify_failed;
};

// The text of the failure NotifyChanged("Text") raises under fail_notify.
inline constexpr const char* kStoreFailure = "The data source could not store the value";

class TestHost final : public platform::HostSite {
 public:
  explicit TestHost(HostPolicy& policy, float width = designs::kControlDesignWidth,
                    float height = designs::kControlDesignHeight)
      : policy_(policy), width_(width), height_(height) {}

  // The control that receives resize notices, and its surface (for the
  // active constituent). Set right after creating the control.
  void Attach(MorlexDate* control, Surface* surface) {
    control_ = control;
    surface_ = surface;
  }

  // The host resizes the control itself; the resize notice follows.
  void HostResize(float width, float height);

  bool UserMode() const override { return policy_.user_mode; }
  platform::FontRef AmbientFont() const override { return policy_.ambient_font; }
  void NotifyChanged(std::string_view key) override;
  bool CanChange(std::string_view key) override;
  float Width() const override { return width_; }
  float Height() const override { return height_; }
  void SetWidth(float twips) override;
  void SetHeight(float twips) override;
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  const platform::Widget* ActiveConstituent() const override;
  const platform::Clock& GetClock() const override;

 private:
  void SendResize();

  HostPolicy& policy_;
  float width_;
  float height_;
  bool enabled_ = true;
  MorlexDate* control_ = nullptr;
  Surface* surface_ = nullptr;
};

}  // namespace morlex::headless
