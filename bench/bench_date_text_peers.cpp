// The same job as BM_DateText/Morlex – read each input as a date and write
// the valid ones as "mm/dd/yyyy" – done with the libraries a user would
// otherwise pick. Inputs are converted to each library's own string type
// before timing, so only reading and writing are measured.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "morlex/core/date.h"
#include "morlex/core/date_text.h"
#include "morlex/core/unicode.h"

#ifdef MORLEX_BENCH_HAVE_QT
#include <QDate>
#include <QString>
#endif
#ifdef MORLEX_BENCH_HAVE_ICU
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>
#endif
#ifdef MORLEX_BENCH_HAVE_HINNANT_DATE
#include <date/date.h>

#include <sstream>
#endif

namespace {

// A realistic mix: typed, rendered, swapped, short, invalid and blank-padded.
constexpr std::array<std::u16string_view, 16> kInputs = {
    u"1/5/99",     u"01/05/1999", u"12/31/1999", u"2/29/2000",  u"13/5/1999", u"1/5",
    u"2/30/1999",  u"abc",        u" 1/5/99 ",   u"7/4/1776",   u"12/25/29",  u"",
    u"10/10/2010", u"4/31/1999",  u"6/15/2026",  u"11/30/1955",
};

template <typename Fn>
void Run(benchmark::State& state, Fn&& fn) {
  std::size_t produced = 0;
  for (auto _ : state) produced += fn();
  benchmark::DoNotOptimize(produced);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kInputs.size()));
}

std::vector<std::string> Utf8Inputs() {
  std::vector<std::string> v;
  for (auto s : kInputs) v.push_back(morlex::ToUtf8(s));
  return v;
}

void BM_DateText_Morlex(benchmark::State& state) {
  Run(state, [] {
    std::size_t n = 0;
    for (const auto text : kInputs) {
      if (morlex::IsDateText(text, 2026)) n += morlex::RenderDate(text, u"mm/dd/yyyy", 2026).size();
    }
    return n;
  });
}
BENCHMARK(BM_DateText_Morlex);

// The plain C baseline: sscanf for three numbers, a validity check, snprintf.
void BM_DateText_Sscanf(benchmark::State& state) {
  const auto inputs = Utf8Inputs();
  Run(state, [&] {
    std::size_t n = 0;
    for (const auto& text : inputs) {
      int m = 0, d = 0, y = 0;
      char tail = 0;
      if (std::sscanf(text.c_str(), " %d/%d/%d %c", &m, &d, &y, &tail) != 3) continue;
      if (y < 100) y += y < 30 ? 2000 : 1900;
      if (!morlex::Date{y, m, d}.ok()) continue;
      char out[16];
      n += static_cast<std::size_t>(std::snprintf(out, sizeof out, "%02d/%02d/%04d", m, d, y));
    }
    return n;
  });
}
BENCHMARK(BM_DateText_Sscanf);

#ifdef MORLEX_BENCH_HAVE_QT
void BM_DateText_Qt(benchmark::State& state) {
  std::vector<QString> inputs;
  for (auto s : kInputs)
    inputs.push_back(QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())));
  Run(state, [&] {
    std::size_t n = 0;
    for (const auto& text : inputs) {
      const QString t = text.trimmed();
      QDate date = QDate::fromString(t, QStringLiteral("M/d/yyyy"));
      if (!date.isValid()) date = QDate::fromString(t, QStringLiteral("M/d/yy"));
      if (date.isValid())
        n += static_cast<std::size_t>(date.toString(QStringLiteral("MM/dd/yyyy")).size());
    }
    return n;
  });
}
BENCHMARK(BM_DateText_Qt);
#endif

#ifdef MORLEX_BENCH_HAVE_ICU
void BM_DateText_ICU(benchmark::State& state) {
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat parser(icu::UnicodeString(u"M/d/yyyy"), icu::Locale::getUS(), status);
  icu::SimpleDateFormat writer(icu::UnicodeString(u"MM/dd/yyyy"), icu::Locale::getUS(), status);
  if (U_FAILURE(status)) {
    state.SkipWithError("ICU date formats unavailable");
    return;
  }
  parser.setLenient(false);
  std::vector<icu::UnicodeString> inputs;
  for (auto s : kInputs) {
    inputs.emplace_back(s.data(), static_cast<int32_t>(s.size()));
    inputs.back().trim();
  }
  Run(state, [&] {
    std::size_t n = 0;
    for (const auto& text : inputs) {
      UErrorCode st = U_ZERO_ERROR;
      const UDate when = parser.parse(text, st);
      if (U_FAILURE(st)) continue;
      icu::UnicodeString out;
      writer.format(when, out);
      n += static_cast<std::size_t>(out.length());
    }
    return n;
  });
}
BENCHMARK(BM_DateText_ICU);
#endif

#ifdef MORLEX_BENCH_HAVE_HINNANT_DATE
void BM_DateText_HinnantDate(benchmark::State& state) {
  const auto inputs = Utf8Inputs();
  Run(state, [&] {
    std::size_t n = 0;
    for (const auto& text : inputs) {
      std::istringstream in(text);
      date::year_month_day ymd{};
      in >> std::ws >> date::parse("%m/%d/%Y", ymd);
      if (in.fail() || !ymd.ok()) continue;
      n += date::format("%m/%d/%Y", ymd).size();
    }
    return n;
  });
}
BENCHMARK(BM_DateText_HinnantDate);
#endif

}  // namespace
