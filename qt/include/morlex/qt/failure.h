#pragma once
// Failures at the boundary between Qt and the control.
//
// Qt does not let exceptions pass through its event loop, so every place
// where Qt calls into the control (an event, a signal, a timer) catches what
// the control's handlers throw and hands it to ReportFailure. By default a
// failure is one line on standard error and the control stays usable; an
// application installs its own handler:
//
//   morlex::qt::SetFailureHandler([](std::exception_ptr failure) {
//     QMessageBox::warning(nullptr, "Date field", QString::fromStdString(
//         morlex::qt::DescribeFailure(failure)));
//   });
//
// Code that plays the user with synthetic events (tests, the scriptable host)
// wants the failure back instead, as the headless toolkit gives it:
//
//   morlex::qt::FailureCapture capture;
//   QApplication::sendEvent(line_edit, &key);
//   capture.Rethrow();  // the first failure reported meanwhile, if any

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "morlex/qt/export.h"

namespace morlex::qt {

using FailureHandler = std::function<void(std::exception_ptr failure)>;

// Installs handler for failures that reach the boundary; returns the previous
// one. An empty handler restores the default (one line on standard error).
MORLEX_QT_EXPORT FailureHandler SetFailureHandler(FailureHandler handler);

// Hands a failure to the innermost FailureCapture of this thread, or else to
// the handler. Never throws: a handler that throws is reported on standard
// error instead.
MORLEX_QT_EXPORT void ReportFailure(std::exception_ptr failure) noexcept;

// One line for a failure: the description, and the source in parentheses
// when it has one ("Type mismatch (MorlexDate.Width)").
MORLEX_QT_EXPORT std::string DescribeFailure(const std::exception_ptr& failure);

// Runs fn and reports whatever it throws. For code that Qt calls.
template <typename Fn>
void Guarded(Fn&& fn) noexcept {
  try {
    std::forward<Fn>(fn)();
  } catch (...) {
    ReportFailure(std::current_exception());
  }
}

// While alive, failures reported on this thread are kept here instead of
// going to the handler. Captures nest; the innermost one takes the failure.
class MORLEX_QT_EXPORT FailureCapture {
 public:
  FailureCapture();
  ~FailureCapture();
  FailureCapture(const FailureCapture&) = delete;
  FailureCapture& operator=(const FailureCapture&) = delete;

  bool Failed() const { return static_cast<bool>(first_); }
  // Rethrows the first failure kept (and forgets it); does nothing otherwise.
  void Rethrow();

 private:
  friend MORLEX_QT_EXPORT void ReportFailure(std::exception_ptr failure) noexcept;
  std::exception_ptr first_;
  FailureCapture* outer_;
};

}  // namespace morlex::qt
