// Opening the calendar: a click on the field's calendar button until the
// dialog has been painted once, then closed again and the click handled,
// against a QDialog holding a QCalendarWidget that a button opens the same
// way. The first opening (fonts, style, caches) is reported apart from the
// median of the openings after it.
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "harness.h"
#include "morlex/control/morlex_date.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"

namespace morlex::bench::qt {
namespace {

// Closes a dialog once it has been painted for the first time: the close
// is queued, so that the whole of that paint finishes first.
class CloseAfterFirstPaint final : public QObject {
 public:
  CloseAfterFirstPaint() { qApp->installEventFilter(this); }
  ~CloseAfterFirstPaint() override { qApp->removeEventFilter(this); }

  void Arm() {
    armed_ = true;
    closed_ = false;
  }
  bool Closed() const { return closed_; }
  Clock::time_point PaintedAt() const { return painted_at_; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!armed_ || event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
    auto* dialog = qobject_cast<QDialog*>(static_cast<QWidget*>(watched)->window());
    if (dialog == nullptr || !dialog->isVisible()) return false;
    armed_ = false;
    painted_at_ = Clock::now();
    QMetaObject::invokeMethod(
        dialog,
        [this, dialog] {
          closed_ = true;
          dialog->reject();
        },
        Qt::QueuedConnection);
    return false;
  }

 private:
  bool armed_ = false;
  bool closed_ = false;
  Clock::time_point painted_at_;
};

// Where the user clicks to open the calendar: a widget and a point of it.
struct Target {
  QWidget* widget = nullptr;
  std::function<QPoint()> at;  // asked at each click: the layout may move it
};

// The calendar button of the variant in a shown, active window.
Target BuildStage(std::string_view variant, QWidget& window) {
  auto* layout = new QHBoxLayout(&window);
  if (variant == "morlex") {
    auto* field = new morlex::qt::MorlexDateWidget(&window);
    field->setText(QStringLiteral("03/15/1999"));
    layout->addWidget(field);
    // The field draws its button itself: the click lands on the field.
    const platform::CommandButton& button =
        field->control().ControlSurface().GetCommandButton("cmdCalendar");
    return {field, [&button] { return morlex::qt::AreaOf(button).center(); }};
  }
  if (variant == "qcalendarwidget") {
    auto* edit = new QLineEdit(QStringLiteral("03/15/1999"), &window);
    auto* button = new QPushButton(QStringLiteral("..."), &window);
    layout->addWidget(edit);
    layout->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, &window, [&window, edit] {
      const QString format = QStringLiteral("MM/dd/yyyy");
      QDialog dialog(&window);
      auto* box = new QVBoxLayout(&dialog);
      auto* calendar = new QCalendarWidget(&dialog);
      box->addWidget(calendar);
      auto* buttons =
          new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
      QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
      QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
      box->addWidget(buttons);
      const QDate date = QDate::fromString(edit->text(), format);
      calendar->setSelectedDate(date.isValid() ? date : QDate::currentDate());
      if (dialog.exec() == QDialog::Accepted) {
        edit->setText(calendar->selectedDate().toString(format));
      }
    });
    return {button, [button] { return button->rect().center(); }};
  }
  return {};
}

// The median of the openings after the first.
double MedianAfterFirst(const std::vector<double>& all) {
  std::vector<double> v(all.begin() + 1, all.end());
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int RunCalendar(std::string_view variant, int times) {
  QWidget window;
  Target button = BuildStage(variant, window);
  if (button.widget == nullptr) {
    std::fprintf(stderr, "calendar: unknown variant %.*s\n", static_cast<int>(variant.size()),
                 variant.data());
    return 2;
  }
  ShowActive(window);
  CloseAfterFirstPaint closer;
  std::vector<double> round_trips;
  std::vector<double> cpu_round_trips;
  std::vector<double> to_paint;
  for (int i = 0; i <= times; ++i) {
    closer.Arm();
    const double cpu_start = CpuMicroseconds();
    const auto start = Clock::now();
    Click(button.widget, button.at());
    const double round_trip = MicrosecondsSince(start);
    cpu_round_trips.push_back(CpuMicroseconds() - cpu_start);
    if (!closer.Closed()) {
      std::fprintf(stderr, "calendar: the dialog was not painted and closed\n");
      return 1;
    }
    round_trips.push_back(round_trip);
    to_paint.push_back(
        std::chrono::duration<double, std::micro>(closer.PaintedAt() - start).count());
    QCoreApplication::processEvents();
  }
  // Processor time of the round trip (the figure compared), wall-clock time
  // of the round trip and up to the first paint; first opening and the
  // median of the others.
  std::printf(
      "calendar %.*s times=%d first_cpu_us=%.1f median_cpu_us=%.1f first_wall_us=%.1f "
      "median_wall_us=%.1f first_paint_wall_us=%.1f median_paint_wall_us=%.1f\n",
      static_cast<int>(variant.size()), variant.data(), times, cpu_round_trips.front(),
      MedianAfterFirst(cpu_round_trips), round_trips.front(), MedianAfterFirst(round_trips),
      to_paint.front(), MedianAfterFirst(to_paint));
  return 0;
}

}  // namespace morlex::bench::qt
