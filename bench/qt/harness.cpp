#include "harness.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace morlex::bench::qt {

double CpuMicroseconds() {
  return static_cast<double>(std::clock()) * 1e6 / CLOCKS_PER_SEC;
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return 0;
}

void TypeKey(QWidget* to, char16_t ch) {
  const int key = ch >= u'a' && ch <= u'z' ? Qt::Key_A + (ch - u'a') : static_cast<int>(ch);
  const QString text(QChar{ch});
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(to, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(to, &release);
}

void Click(QWidget* widget, QPoint at) {
  const QPointF local(at);
  const QPointF global(widget->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

namespace {

class PaintWatch final : public QObject {
 public:
  explicit PaintWatch(QWidget* widget) : widget_(widget) { widget_->installEventFilter(this); }
  ~PaintWatch() override { widget_->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget_ && event->type() == QEvent::Paint) painted = true;
    return false;
  }
  bool painted = false;

 private:
  QWidget* widget_;
};

}  // namespace

void WaitForPaint(QWidget* widget) {
  PaintWatch watch(widget);
  const auto give_up = Clock::now() + std::chrono::seconds(30);
  while (!watch.painted && Clock::now() < give_up) {
    QCoreApplication::processEvents();
  }
}

void ShowActive(QWidget& window) {
  PaintWatch watch(&window);
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  const auto give_up = Clock::now() + std::chrono::seconds(30);
  while ((!watch.painted || QApplication::activeWindow() != &window) && Clock::now() < give_up) {
    QCoreApplication::processEvents();
  }
}

int ArgNumber(int argc, char** argv, int index, int fallback) {
  if (index >= argc) return fallback;
  const int n = std::atoi(argv[index]);
  return n > 0 ? n : fallback;
}

}  // namespace morlex::bench::qt
