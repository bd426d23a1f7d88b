#pragma once
// What the three parts of morlex-qt-bench share: the clock, the process's
// resident memory, and the user's keys and clicks as synthetic Qt events,
// delivered the way the window system's are (QApplication::sendEvent).

#include <QPoint>
#include <QString>
#include <chrono>
#include <string_view>

class QWidget;

namespace morlex::bench::qt {

using Clock = std::chrono::steady_clock;

inline double MicrosecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// The processor time this process has used, in microseconds: what the
// figures are taken from, since other work on a shared machine stretches
// the wall-clock time but not this. Drawing on the offscreen platform
// happens in the process, so all of it is counted.
double CpuMicroseconds();

// VmRSS of this process in KiB, from /proc/self/status; 0 where unknown.
long ResidentKiB();

// Press and release of the key that types ch (a digit or a letter).
void TypeKey(QWidget* to, char16_t ch);
// Press and release of the left button at a point of the widget.
void Click(QWidget* widget, QPoint at);

// Shows the window, makes it the active one and waits until it has been
// painted once.
void ShowActive(QWidget& window);

// Runs the event loop until the widget has had a paint event.
void WaitForPaint(QWidget* widget);

// The command line's number after the mode and variant, or fallback.
int ArgNumber(int argc, char** argv, int index, int fallback);

int RunKeys(int argc, char** argv);
// Types ROUNDS whole dates after the warm-up, untimed: for counting
// instructions under callgrind (the difference of two counts over the
// difference of the rounds is one round).
int CountKeys(std::string_view variant, int rounds);
int RunForm(std::string_view variant, int fields);
int RunCalendar(std::string_view variant, int times);
int RunTable(std::string_view variant, std::string_view measure, int rounds);

}  // namespace morlex::bench::qt
