// Long random sessions of an end user on the field, in every format: keys,
// caret moves, selections, clicks, double-clicks, spins and focus changes.
// After every step the field must still be sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>

#include "field_fixture.h"
#include "morlex/core/date_format.h"
#include "morlex/core/date_text.h"

namespace morlex {
namespace {

using testing_support::Field;
using testing_support::U8;

constexpr int kCurrentYear = 2026;  // the fixture's today
constexpr int kSteps = 2500;

class Session {
 public:
  Session(int format, unsigned seed) : field_(format), rng_(seed), format_(format) {
    pattern_ = std::u16string(PatternOfFormat(format));
    field_.Given(u"");
  }

  void Run() {
    for (int step = 0; step < kSteps; ++step) {
      const std::size_t errors_before = field_.recorder->errors.size();
      const std::u16string before = field_.Text();
      std::string action;
      bool typed = false;
      try {
        typed = Act(action);
      } catch (const std::exception& e) {
        FAIL() << Where(step, action) << ": threw " << e.what();
      }
      const std::u16string after = field_.Text();
      Check(step, action, before, after, typed, errors_before);
      if (::testing::Test::HasFailure()) return;
      history_.push_back(action);
      if (history_.size() > 40) history_.pop_front();
    }
  }

 private:
  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  // Performs one random action; returns whether it was a typed key.
  bool Act(std::string& action) {
    host::Stage& stage = field_.Stage();
    const int length = static_cast<int>(field_.Text().size());
    const int pick = Uniform(0, 99);
    if (pick < 42) {
      const char16_t digit = static_cast<char16_t>(u'0' + Uniform(0, 9));
      action = "key " + std::string(1, static_cast<char>(digit));
      stage.Key(digit);
      return true;
    }
    if (pick < 60) {
      static constexpr char16_t kKeys[] = {u'/',  u'/', u'/', u'.', u'\b', u'\b',
                                           u'\r', u'a', u' ', u'-', u'\t', u'\0'};
      const char16_t key = kKeys[Uniform(0, static_cast<int>(std::size(kKeys)) - 1)];
      action = "key#" + std::to_string(static_cast<int>(key));
      stage.Key(key);
      return true;
    }
    if (pick < 70) {
      const int p = Uniform(0, length + 2);
      const int l = Uniform(0, 2) == 0 ? Uniform(0, 4) : 0;
      action = "caret " + std::to_string(p) + "," + std::to_string(l);
      stage.Caret(p, l);
      return false;
    }
    if (pick < 74) {
      const int p = Uniform(0, length + 2);
      action = "click " + std::to_string(p);
      stage.Click(p);
      return false;
    }
    if (pick < 77) {
      action = "dblclick";
      stage.DblClick();
      return false;
    }
    if (pick < 90) {
      const bool up = Uniform(0, 1) == 1;
      action = up ? "spin up" : "spin down";
      stage.Spin(up);
      return false;
    }
    if (pick < 92) {
      action = "blur";
      stage.Blur(Uniform(0, 2) == 0 ? host::BlurTarget::kSpin : host::BlurTarget::kOutside);
      return false;
    }
    // The program puts a date, nothing, or a run of digits with few
    // separators (up to the box's maximum) into the field.
    const int what = Uniform(0, 3);
    if (what == 0) {
      action = "clear";
      field_.Control().SetText(u"");
    } else if (what == 1) {
      static constexpr char16_t kJunk[] = u"0123456789012345678./";
      std::u16string junk;
      for (int i = Uniform(6, 11); i > 0; --i) {
        junk.push_back(kJunk[Uniform(0, static_cast<int>(std::size(kJunk)) - 2)]);
      }
      action = "set " + U8(junk);
      field_.Control().SetText(junk);
    } else {
      const Date d{Uniform(1900, 2100), Uniform(1, 12), Uniform(1, 28)};
      action = "set date";
      field_.Control().SetText(FormatDate(d, pattern_.empty() ? u"m/d/yyyy" : pattern_));
    }
    return false;
  }

  void Check(int step, const std::string& action, const std::u16string& before,
             const std::u16string& after, bool typed, std::size_t errors_before) {
    MorlexDate& c = field_.Control();
    const int size = static_cast<int>(after.size());
    const int start = c.SelStart();
    const int length = c.SelLength();
    ASSERT_TRUE(start >= 0 && length >= 0 && start + length <= size)
        << Where(step, action) << ": selection " << start << "+" << length << " in " << U8(after);
    // The box refuses its own insertion past 11 characters; beyond them only
    // the field's own separator or overwrite adds one character, in place of
    // the key.
    if (typed) {
      ASSERT_LE(after.size(), std::max<std::size_t>(before.size() + 1, 11))
          << Where(step, action) << ": " << U8(before) << " -> " << U8(after);
    }
    const bool is_date = IsDateText(after, kCurrentYear);
    ASSERT_EQ(c.DateIsValid(), is_date) << Where(step, action);
    if (is_date) {
      const Date d = *ReadDateText(after, kCurrentYear);
      const std::u16string rendered = RenderDate(after, pattern_, kCurrentYear);
      // Two-digit years keep only the window 1930 to 2029 across a reading.
      const bool keeps_year = YearLength(static_cast<enmDateFormat>(format_ & 3)) == 4 ||
                              (d.year >= 1930 && d.year <= 2029);
      if (keeps_year) {
        const auto back = ReadDateText(rendered, kCurrentYear);
        ASSERT_TRUE(back.has_value() && *back == d)
            << Where(step, action) << ": " << U8(after) << " renders as " << U8(rendered);
      }
    }
    // The only failure a sound host can see is a step out of the years.
    for (std::size_t i = errors_before; i < field_.recorder->errors.size(); ++i) {
      ASSERT_EQ(field_.recorder->errors[i].source, "MorlexDate.SpinTheDate")
          << Where(step, action) << ": " << field_.recorder->customs[i];
      ASSERT_EQ(before, after) << Where(step, action);
    }
  }

  std::string Where(int step, const std::string& action) const {
    std::string where = "format " + std::to_string(format_) + " step " + std::to_string(step) +
                        " (" + action + ") after:";
    for (const auto& a : history_) where += " [" + a + "]";
    return where;
  }

  Field field_;
  std::mt19937 rng_;
  int format_;
  std::u16string pattern_;
  std::deque<std::string> history_;  // the last actions, for the failure message
};

TEST(RandomSessions, FieldStaysSoundInEveryFormat) {
  for (int format : {0, 1, 2, 3, 7}) {
    for (unsigned seed : {1U, 7U, 2024U, 90210U}) {
      SCOPED_TRACE("format " + std::to_string(format) + " seed " + std::to_string(seed));
      Session(format, seed).Run();
      if (HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace morlex
