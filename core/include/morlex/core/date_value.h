#pragma once
// The value a date field stands for, followed from its text: the date the
// text reads as, and nothing for an empty text, for a text that is no date
// (half typed, or invalid) and for a date outside the field's range (which
// only a commit reports). A date that the program put into
// the field stays the value while the field still shows its rendering, even
// when that rendering alone would read as another date (1920-01-05 shown as
// 01/05/20 in a two-digit pattern, which reads as 2020).
//
//   DateValue value;
//   value.Show(Date{1920, 1, 5}, u"01/05/20");  // before the text is set
//   field.SetText(u"01/05/20");
//   value.Follow(field.Text(), year);           // value() stays 1920-01-05
#include <optional>
#include <string>
#include <string_view>

#include "morlex/core/date.h"
#include "morlex/core/date_layout.h"

namespace morlex {

class DateValue {
 public:
  // nullopt for an empty text.
  const std::optional<Date>& value() const { return value_; }

  // The dates the value may take; by default every ok() date.
  void SetRange(const Date& minimum, const Date& maximum);

  // The program is about to show date as the text `shown`. Takes effect at
  // the next Follow that finds that text.
  void Show(std::optional<Date> date, std::u16string shown);

  // The text now in the field (after any change, whoever made it); true when
  // the value changed. current_year serves texts of two numbers.
  // The text is read in layout.
  bool Follow(std::u16string_view text, int current_year,
              const DateLayout& layout = kDefaultLayout);

  // Whether the field still shows what the program last showed, unedited.
  bool ShowingProgramText() const { return shown_.has_value(); }

 private:
  std::optional<Date> value_;
  // What the program last showed, while the text is still that rendering.
  struct Shown {
    std::optional<Date> date;
    std::u16string text;
  };
  std::optional<Shown> shown_;
  Date minimum_{kMinYear, 1, 1};
  Date maximum_{kMaxYear, 12, 31};
};

}  // namespace morlex
