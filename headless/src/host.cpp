#include "morlex/headless/host.h"

#include "morlex/control/morlex_date.h"
#include "morlex/core/error.h"

namespace morlex::headless {

void TestHost::NotifyChanged(std::string_view key) {
  if (policy_.fail_notify && key == "Text") {
    if (policy_.on_notify_failed) policy_.on_notify_failed(key);
    throw Error(errnum::kHostFailure, kStoreFailure);
  }
  if (policy_.on_notify) policy_.on_notify(key);
}

bool TestHost::CanChange(std::string_view key) {
  (void)key;
  return policy_.can_change;
}

void TestHost::SetWidth(float twips) {
  width_ = twips;
  SendResize();
}

void TestHost::SetHeight(float twips) {
  height_ = policy_.lock_height.value_or(twips);
  SendResize();
}

void TestHost::HostResize(float width, float height) {
  width_ = width;
  height_ = policy_.lock_height.value_or(height);
  SendResize();
}

void TestHost::SendResize() {
  if (control_ != nullptr) control_->Resize();
}

const platform::Widget* TestHost::ActiveConstituent() const {
  return surface_ != nullptr ? surface_->Focused() : nullptr;
}

const platform::Clock& TestHost::GetClock() const {
  static const platform::SystemClock system_clock;
  return policy_.clock != nullptr ? *policy_.clock : system_clock;
}

}  // namespace morlex::headless
