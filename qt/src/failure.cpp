#include "morlex/qt/failure.h"

#include <cstdio>
#include <mutex>

#include "morlex/core/error.h"
#include "morlex/qtshared/failure.h"

namespace morlex::qt {
namespace {

using Captures = qtshared::CaptureStack<FailureCapture>;

std::mutex& HandlerMutex() {
  static std::mutex mutex;
  return mutex;
}

FailureHandler& Handler() {
  static FailureHandler handler;
  return handler;
}

void WriteLine(const std::string& line) noexcept {
  // stdio rather than iostreams: this runs in noexcept context and must not
  // itself throw.
  std::fprintf(stderr, "morlex: %s\n", line.c_str());
  std::fflush(stderr);
}

}  // namespace

FailureHandler SetFailureHandler(FailureHandler handler) {
  std::lock_guard lock(HandlerMutex());
  return std::exchange(Handler(), std::move(handler));
}

std::string DescribeFailure(const std::exception_ptr& failure) {
  if (!failure) return "no failure";
  try {
    std::rethrow_exception(failure);
  } catch (const Error& e) {
    std::string line = e.description();
    if (!e.source().empty()) line += " (" + e.source() + ")";
    return line;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown failure";
  }
}

void ReportFailure(std::exception_ptr failure) noexcept {
  if (!failure || Captures::Keep(failure, &FailureCapture::first_)) return;
  FailureHandler handler;
  try {
    std::lock_guard lock(HandlerMutex());
    handler = Handler();
  } catch (...) {
  }
  try {
    if (handler) {
      handler(failure);
    } else {
      WriteLine(DescribeFailure(failure));
    }
  } catch (...) {
    try {
      WriteLine("failure handler failed: " + DescribeFailure(std::current_exception()));
    } catch (...) {
    }
  }
}

FailureCapture::FailureCapture() : outer_(Captures::Push(this)) {}

FailureCapture::~FailureCapture() {
  Captures::Pop(outer_);
}

void FailureCapture::Rethrow() {
  qtshared::RethrowKept(first_);
}

}  // namespace morlex::qt
