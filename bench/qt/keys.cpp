// One typed digit, end to end, on three widgets given the same synthetic key
// presses and releases: the field, the QDateEdit a Qt developer would pick
// instead, and the bare QLineEdit the field types into. Each round types a
// whole date, 01051999, into a field made ready for it; per_key is the time
// of one key with its share of that reset.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QVBoxLayout>
#include <memory>

#include "harness.h"
#include "morlex/qt/morlex_date_widget.h"

namespace morlex::bench::qt {
namespace {

constexpr char16_t kDigits[] = u"01051999";
constexpr int kKeys = 8;

void PerKey(benchmark::State& state) {
  state.counters["per_key"] = benchmark::Counter(
      kKeys, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A shown, active window with one field that has the keyboard focus.
template <typename Field>
struct Stage {
  Stage() {
    window.setLayout(new QVBoxLayout);
    field = new Field(&window);
    window.layout()->addWidget(field);
    ShowActive(window);
    field->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
  }
  // Where the window system delivers keys: the focus widget.
  QWidget* Target() const {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : field;
  }
  QWidget window;
  Field* field = nullptr;
};

void TypeDigits(QWidget* to) {
  for (int i = 0; i < kKeys; ++i) TypeKey(to, kDigits[i]);
}

// Rounds before the timing: the first keys load fonts and shape text.
constexpr int kWarmUp = 3;

void BM_QtKey_MorlexDateWidget(benchmark::State& state) {
  Stage<morlex::qt::MorlexDateWidget> stage;
  long changes = 0;
  QObject::connect(stage.field, &morlex::qt::MorlexDateWidget::dateChanged,
                   [&changes] { ++changes; });
  QWidget* to = stage.Target();
  for (int i = 0; i < kWarmUp; ++i) {
    stage.field->setText(QString());
    TypeDigits(to);
  }
  for (auto _ : state) {
    stage.field->setText(QString());
    TypeDigits(to);
  }
  if (stage.field->text() != QStringLiteral("01/05/1999") || changes == 0) {
    state.SkipWithError("the field did not take the date");
  }
  PerKey(state);
}
BENCHMARK(BM_QtKey_MorlexDateWidget);

void BM_QtKey_QLineEdit(benchmark::State& state) {
  Stage<QLineEdit> stage;
  QWidget* to = stage.Target();
  for (int i = 0; i < kWarmUp; ++i) {
    stage.field->clear();
    TypeDigits(to);
  }
  for (auto _ : state) {
    stage.field->clear();
    TypeDigits(to);
  }
  if (stage.field->text() != QStringLiteral("01051999")) {
    state.SkipWithError("the line edit did not take the digits");
  }
  PerKey(state);
}
BENCHMARK(BM_QtKey_QLineEdit);

void BM_QtKey_QDateEdit(benchmark::State& state) {
  Stage<QDateEdit> stage;
  stage.field->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
  stage.field->setCalendarPopup(true);
  QWidget* to = stage.Target();
  const QDate start(2026, 12, 8);
  for (int i = 0; i < kWarmUp; ++i) {
    stage.field->setDate(start);
    stage.field->setCurrentSection(QDateTimeEdit::MonthSection);
    stage.field->setSelectedSection(QDateTimeEdit::MonthSection);
    TypeDigits(to);
  }
  for (auto _ : state) {
    // Back to a date with the month selected, as a click into the month
    // leaves it; the digits then fill month, day and year in turn.
    stage.field->setDate(start);
    stage.field->setCurrentSection(QDateTimeEdit::MonthSection);
    stage.field->setSelectedSection(QDateTimeEdit::MonthSection);
    TypeDigits(to);
  }
  if (stage.field->date() != QDate(1999, 1, 5)) {
    state.SkipWithError("the date edit did not take the date");
  }
  PerKey(state);
}
BENCHMARK(BM_QtKey_QDateEdit);

}  // namespace

int RunKeys(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace morlex::bench::qt
