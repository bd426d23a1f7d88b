// A form of many fields: creating them in one parent, then showing them and
// painting them once, with the resident memory they add. The empty window is
// shown and painted first, so that its backing store and the style are not
// counted; the fields then sit on a page of the window that is shown at once,
// as a form page is.
#include <QDateEdit>
#include <QLineEdit>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <string>

#include "harness.h"
#include "morlex/qt/morlex_date_widget.h"

namespace morlex::bench::qt {
namespace {

constexpr int kColumns = 25;
constexpr QSize kCell(120, 32);

// Makes one field on the page; returns the widget whose painting shows that
// the field has been painted (its text box, the innermost part).
using Maker = std::function<QWidget*(QWidget* page)>;

Maker MakerOf(std::string_view variant) {
  if (variant == "morlex") {
    return [](QWidget* page) -> QWidget* {
      auto* field = new morlex::qt::MorlexDateWidget(page);
      return field->focusProxy();
    };
  }
  if (variant == "morlex-plain") {
    return [](QWidget* page) -> QWidget* {
      auto* field = new morlex::qt::MorlexDateWidget(page);
      field->setCalendar(false);
      field->setSpin(false);
      return field->focusProxy();
    };
  }
  if (variant == "qdateedit") {
    return [](QWidget* page) -> QWidget* {
      auto* field = new QDateEdit(QDate::currentDate(), page);
      field->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
      field->setCalendarPopup(true);
      field->resize(field->sizeHint());
      return field->findChild<QLineEdit*>();
    };
  }
  if (variant == "qlineedit") {
    return [](QWidget* page) -> QWidget* {
      auto* field = new QLineEdit(page);
      field->resize(field->sizeHint());
      return field;
    };
  }
  return {};
}

}  // namespace

int RunForm(std::string_view variant, int fields) {
  const Maker make = MakerOf(variant);
  if (!make) {
    std::fprintf(stderr, "form: unknown variant %.*s\n", static_cast<int>(variant.size()),
                 variant.data());
    return 2;
  }
  const int rows = (fields + kColumns - 1) / kColumns;
  QWidget window;
  window.setFixedSize(kColumns * kCell.width(), rows * kCell.height());
  auto* page = new QWidget(&window);
  page->setGeometry(window.rect());
  page->hide();
  ShowActive(window);

  const long rss_before = ResidentKiB();
  const double cpu_start = CpuMicroseconds();
  const auto start = Clock::now();
  QWidget* last = nullptr;
  for (int i = 0; i < fields; ++i) {
    last = make(page);
    QWidget* field = last;
    while (field->parentWidget() != page) field = field->parentWidget();
    field->move((i % kColumns) * kCell.width(), (i / kColumns) * kCell.height());
  }
  const double create_us = MicrosecondsSince(start);
  const double cpu_created = CpuMicroseconds();
  const auto shown = Clock::now();
  page->show();
  WaitForPaint(last);
  const double paint_us = MicrosecondsSince(shown);
  const double cpu_painted = CpuMicroseconds();
  const long rss_after = ResidentKiB();

  // Per field: processor time of creating, and of showing and painting;
  // their sum in wall-clock time; the resident memory added.
  const double n = fields;
  std::printf(
      "form %.*s fields=%d create_cpu_us=%.2f paint_cpu_us=%.2f cpu_us=%.2f wall_us=%.2f "
      "rss_kib=%.2f\n",
      static_cast<int>(variant.size()), variant.data(), fields, (cpu_created - cpu_start) / n,
      (cpu_painted - cpu_created) / n, (cpu_painted - cpu_start) / n, (create_us + paint_us) / n,
      static_cast<double>(rss_after - rss_before) / n);
  return 0;
}

}  // namespace morlex::bench::qt
