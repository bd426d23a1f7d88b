#pragma once

namespace morlex::detail {

// Sets a flag for the life of a scope and clears it on the way out, also when
// a host call inside throws: a guard flag left set would stop every later
// layout pass.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace morlex::detail
