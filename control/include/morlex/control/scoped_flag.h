#pragma once

namespace morlex {

// Sets a flag for the life of a scope and gives it back its earlier value on
// the way out, also when a call inside throws: a guard flag left set would
// stop every later pass it guards (a layout, a change notice).
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = was_; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace morlex
