#pragma once
// Failures at the boundary between Qt and the control. Qt lets no exception
// through its event loop, so the bindings catch what the control's handlers
// throw where Qt calls in and report it; a driver that plays the user with
// synthetic events gathers the failures meanwhile in a capture and takes them
// up afterwards. Captures nest on each thread; the innermost keeps the first
// failure it is given.

#include <exception>
#include <utility>

namespace morlex::qtshared {

// The captures of type Capture alive on this thread. Each capture keeps the
// one it hides, to put back when it ends, and the first failure it was given.
template <typename Capture>
class CaptureStack {
 public:
  // Makes capture the innermost; gives the one it hides.
  static Capture* Push(Capture* capture) { return std::exchange(innermost_, capture); }
  static void Pop(Capture* outer) { innermost_ = outer; }
  // Keeps failure in the innermost capture's member first, unless that holds
  // one already; false when no capture is alive.
  static bool Keep(const std::exception_ptr& failure, std::exception_ptr Capture::*first) {
    if (innermost_ == nullptr) return false;
    std::exception_ptr& kept = innermost_->*first;
    if (!kept) kept = failure;
    return true;
  }

 private:
  static inline thread_local Capture* innermost_ = nullptr;
};

// Throws the failure kept in first and forgets it; does nothing when none is.
inline void RethrowKept(std::exception_ptr& first) {
  if (first) std::rethrow_exception(std::exchange(first, nullptr));
}

// The capture of a binding that publishes none of its own (Qt Quick's).
class FailureCapture {
  using Stack = CaptureStack<FailureCapture>;

 public:
  FailureCapture() : outer_(Stack::Push(this)) {}
  ~FailureCapture() { Stack::Pop(outer_); }
  FailureCapture(const FailureCapture&) = delete;
  FailureCapture& operator=(const FailureCapture&) = delete;

  // Throws the first failure gathered, if any.
  void Rethrow() { RethrowKept(first_); }
  // Hands failure to the innermost capture; false when none is alive.
  static bool Keep(const std::exception_ptr& failure) {
    return Stack::Keep(failure, &FailureCapture::first_);
  }

 private:
  FailureCapture* outer_;
  std::exception_ptr first_;
};

}  // namespace morlex::qtshared
