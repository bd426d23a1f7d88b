#pragma once
// One job – read each input as a date and write the valid ones as
// "mm/dd/yyyy" – done by the field's own functions and by the libraries a
// user would otherwise pick. Each kernel converts the inputs to its
// library's string type once, in its constructor, so that a pass measures
// only reading and writing. Shared by the timed benchmarks and by the
// instruction counter, which must run exactly the same code.

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "morlex/core/date.h"
#include "morlex/core/date_layout.h"
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

namespace morlex::bench {

// A realistic mix: typed, rendered, swapped, short, invalid and blank-padded.
inline constexpr std::array<std::u16string_view, 16> kDateTextInputs = {
    u"1/5/99",     u"01/05/1999", u"12/31/1999", u"2/29/2000",  u"13/5/1999", u"1/5",
    u"2/30/1999",  u"abc",        u" 1/5/99 ",   u"7/4/1776",   u"12/25/29",  u"",
    u"10/10/2010", u"4/31/1999",  u"6/15/2026",  u"11/30/1955",
};

inline std::vector<std::string> Utf8DateTextInputs() {
  std::vector<std::string> v;
  for (auto s : kDateTextInputs) v.push_back(ToUtf8(s));
  return v;
}

// Each Pass() handles every input once and returns the number of characters
// written, so that no work can be optimised away.

struct MorlexDateText {
  std::size_t Pass() const {
    std::size_t n = 0;
    for (const auto text : kDateTextInputs) {
      if (IsDateText(text, 2026)) n += RenderDate(text, u"mm/dd/yyyy", 2026).size();
    }
    return n;
  }
};

// The same job in another layout: each input with its numbers in the
// layout's order and its separator ("1/5/99" becomes "5.1.99" in
// day/month/year), rendered in the layout's "mm/dd/yyyy".
struct MorlexLayoutDateText {
  explicit MorlexLayoutDateText(const DateLayout& layout)
      : layout(layout), pattern(PatternInLayout(PatternOfFormat(0), layout)) {
    for (const auto text : kDateTextInputs) inputs.push_back(InLayout(text));
  }
  std::size_t Pass() const {
    std::size_t n = 0;
    for (const auto& text : inputs) {
      if (ReadDateText(text, 2026, layout)) n += RenderDate(text, pattern, 2026, layout).size();
    }
    return n;
  }
  std::u16string InLayout(std::u16string_view text) const {
    const auto start = text.find_first_not_of(u' ');
    if (start == std::u16string_view::npos) return std::u16string(text);
    const auto end = text.find_last_not_of(u' ') + 1;
    std::vector<std::u16string_view> parts;
    for (std::size_t at = start; at <= end;) {
      const auto slash = std::min(text.find(u'/', at), end);
      parts.push_back(text.substr(at, slash - at));
      at = slash + 1;
    }
    std::u16string out(text.substr(0, start));
    for (std::size_t i = 0; i < parts.size(); ++i) {
      // Month, day[, year] in the text; the layout's order picks from them.
      std::size_t from = i;
      if (parts.size() >= 2) {
        const DatePart part = parts.size() == 3 ? layout.PartAt(static_cast<int>(i))
                              : layout.PartAt(0) == DatePart::kYear
                                  ? layout.PartAt(static_cast<int>(i) + 1)
                                  : layout.PartAt(static_cast<int>(i));
        from = part == DatePart::kMonth ? 0 : part == DatePart::kDay ? 1 : 2;
      }
      if (i > 0) out.push_back(layout.separator);
      out.append(parts[from]);
    }
    out.append(text.substr(end));
    return out;
  }
  DateLayout layout;
  std::u16string_view pattern;
  std::vector<std::u16string> inputs;
};

// The plain C baseline: sscanf for three numbers, a validity check, snprintf.
struct SscanfDateText {
  std::size_t Pass() const {
    std::size_t n = 0;
    for (const auto& text : inputs) {
      int m = 0, d = 0, y = 0;
      char tail = 0;
      if (std::sscanf(text.c_str(), " %d/%d/%d %c", &m, &d, &y, &tail) != 3) continue;
      if (y < 100) y += y < 30 ? 2000 : 1900;
      if (!Date{y, m, d}.ok()) continue;
      char out[16];
      n += static_cast<std::size_t>(std::snprintf(out, sizeof out, "%02d/%02d/%04d", m, d, y));
    }
    return n;
  }
  std::vector<std::string> inputs = Utf8DateTextInputs();
};

#ifdef MORLEX_BENCH_HAVE_QT
struct QtDateText {
  QtDateText() {
    for (auto s : kDateTextInputs)
      inputs.push_back(QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())));
  }
  std::size_t Pass() const {
    std::size_t n = 0;
    for (const auto& text : inputs) {
      const QString t = text.trimmed();
      QDate date = QDate::fromString(t, QStringLiteral("M/d/yyyy"));
      if (!date.isValid()) date = QDate::fromString(t, QStringLiteral("M/d/yy"));
      if (date.isValid())
        n += static_cast<std::size_t>(date.toString(QStringLiteral("MM/dd/yyyy")).size());
    }
    return n;
  }
  std::vector<QString> inputs;
};
#endif

#ifdef MORLEX_BENCH_HAVE_ICU
struct IcuDateText {
  IcuDateText()
      : parser(icu::UnicodeString(u"M/d/yyyy"), icu::Locale::getUS(), status),
        writer(icu::UnicodeString(u"MM/dd/yyyy"), icu::Locale::getUS(), status) {
    parser.setLenient(false);
    for (auto s : kDateTextInputs) {
      inputs.emplace_back(s.data(), static_cast<int32_t>(s.size()));
      inputs.back().trim();
    }
  }
  bool ok() const { return U_SUCCESS(status); }
  std::size_t Pass() {
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
  }
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat parser;
  icu::SimpleDateFormat writer;
  std::vector<icu::UnicodeString> inputs;
};
#endif

#ifdef MORLEX_BENCH_HAVE_HINNANT_DATE
struct HinnantDateText {
  std::size_t Pass() const {
    std::size_t n = 0;
    for (const auto& text : inputs) {
      std::istringstream in(text);
      ::date::year_month_day ymd{};
      in >> std::ws >> ::date::parse("%m/%d/%Y", ymd);
      if (in.fail() || !ymd.ok()) continue;
      n += ::date::format("%m/%d/%Y", ymd).size();
    }
    return n;
  }
  std::vector<std::string> inputs = Utf8DateTextInputs();
};
#endif

}  // namespace morlex::bench
