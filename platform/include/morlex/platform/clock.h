#pragma once
// Today's date, as a service the host can replace.
//
//   // In production the control asks the system:
//   morlex::platform::SystemClock clock;
//   // A test or a script pins "today":
//   morlex::platform::FixedClock clock({2026, 12, 8});
//   MorlexDate control(host_with(clock), toolkit);

#include "morlex/core/date.h"

namespace morlex::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Today's date by this clock, without time of day. Always ok().
  virtual Date Today() const = 0;
};

// The system's local date.
class SystemClock final : public Clock {
 public:
  Date Today() const override;
};

// A clock that always tells the same day.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(Date today) : today_(today) {}
  Date Today() const override { return today_; }
  void Set(Date today) { today_ = today; }

 private:
  Date today_;
};

}  // namespace morlex::platform
