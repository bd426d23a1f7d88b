// One typed digit, end to end, on three widgets given the same synthetic key
// presses and releases: the field, the QDateEdit a Qt developer would pick
// instead, and the bare QLineEdit the field types into. Each round types a
// whole date, 01051999, into a field made ready for it; per_key is the time
// of one key with its share of that reset (the mean key), median_key_ns the
// median of the single keys' wall-clock times, which a few slow keys (the
// date edit's parser) and the odd preemption on a busy machine leave alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "harness.h"
#include "morlex/qt/morlex_date_widget.h"

namespace morlex::bench::qt {
namespace {

constexpr char16_t kDigits[] = u"01051999";
constexpr int kKeys = 8;

// Rounds before the timing: the first keys load fonts and shape text.
constexpr int kWarmUp = 3;

// A shown, active window with one field that has the keyboard focus, made
// ready for a whole date before each round.
class Typing {
 public:
  virtual ~Typing() = default;
  virtual void Reset() = 0;
  // Whether the last round left the date in the field.
  virtual bool TookDate() const = 0;
  // Where the window system delivers keys: the focus widget.
  QWidget* Target() const {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : field_;
  }
  void Round() {
    Reset();
    QWidget* to = Target();
    for (int i = 0; i < kKeys; ++i) TypeKey(to, kDigits[i]);
  }
  // A round with each key timed on its own.
  void TimedRound(std::vector<double>& key_ns) {
    Reset();
    QWidget* to = Target();
    for (int i = 0; i < kKeys; ++i) {
      const auto start = Clock::now();
      TypeKey(to, kDigits[i]);
      key_ns.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count());
    }
  }

 protected:
  void Show(QWidget* field) {
    field_ = field;
    window_.setLayout(new QVBoxLayout);
    window_.layout()->addWidget(field);
    ShowActive(window_);
    field->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
  }
  QWidget window_;
  QWidget* field_ = nullptr;
};

class MorlexTyping final : public Typing {
 public:
  MorlexTyping() : field_(new morlex::qt::MorlexDateWidget(&window_)) {
    QObject::connect(field_, &morlex::qt::MorlexDateWidget::dateChanged, [this] { ++changes_; });
    Show(field_);
  }
  void Reset() override { field_->setText(QString()); }
  bool TookDate() const override {
    return field_->text() == QStringLiteral("01/05/1999") && changes_ > 0;
  }

 private:
  morlex::qt::MorlexDateWidget* field_;
  long changes_ = 0;
};

class LineEditTyping final : public Typing {
 public:
  LineEditTyping() : field_(new QLineEdit(&window_)) { Show(field_); }
  void Reset() override { field_->clear(); }
  bool TookDate() const override { return field_->text() == QStringLiteral("01051999"); }

 private:
  QLineEdit* field_;
};

class DateEditTyping final : public Typing {
 public:
  DateEditTyping() : field_(new QDateEdit(&window_)) {
    field_->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    field_->setCalendarPopup(true);
    Show(field_);
  }
  // Back to a date with the month selected, as a click into the month
  // leaves it; the digits then fill month, day and year in turn.
  void Reset() override {
    field_->setDate(QDate(2026, 12, 8));
    field_->setCurrentSection(QDateTimeEdit::MonthSection);
    field_->setSelectedSection(QDateTimeEdit::MonthSection);
  }
  bool TookDate() const override { return field_->date() == QDate(1999, 1, 5); }

 private:
  QDateEdit* field_;
};

std::unique_ptr<Typing> MakeTyping(std::string_view variant) {
  if (variant == "morlex") return std::make_unique<MorlexTyping>();
  if (variant == "qlineedit") return std::make_unique<LineEditTyping>();
  if (variant == "qdateedit") return std::make_unique<DateEditTyping>();
  return nullptr;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
  std::nth_element(v.begin(), middle, v.end());
  return *middle;
}

void TypeDates(benchmark::State& state, std::string_view variant) {
  const std::unique_ptr<Typing> typing = MakeTyping(variant);
  for (int i = 0; i < kWarmUp; ++i) typing->Round();
  std::vector<double> key_ns;
  for (auto _ : state) typing->TimedRound(key_ns);
  if (!typing->TookDate()) state.SkipWithError("the field did not take the date");
  state.counters["per_key"] = benchmark::Counter(
      kKeys, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["median_key_ns"] = Median(std::move(key_ns));
}

void BM_QtKey_MorlexDateWidget(benchmark::State& state) {
  TypeDates(state, "morlex");
}
BENCHMARK(BM_QtKey_MorlexDateWidget);

void BM_QtKey_QLineEdit(benchmark::State& state) {
  TypeDates(state, "qlineedit");
}
BENCHMARK(BM_QtKey_QLineEdit);

void BM_QtKey_QDateEdit(benchmark::State& state) {
  TypeDates(state, "qdateedit");
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

int CountKeys(std::string_view variant, int rounds) {
  const std::unique_ptr<Typing> typing = MakeTyping(variant);
  if (typing == nullptr) {
    std::fprintf(stderr, "keys-count: unknown variant\n");
    return 2;
  }
  for (int i = 0; i < kWarmUp; ++i) typing->Round();
  for (int i = 0; i < rounds; ++i) typing->Round();
  if (!typing->TookDate()) {
    std::fprintf(stderr, "keys-count: the field did not take the date\n");
    return 1;
  }
  std::printf("keys %.*s rounds=%d keys=%d\n", static_cast<int>(variant.size()), variant.data(),
              rounds, rounds * kKeys);
  return 0;
}

}  // namespace morlex::bench::qt
