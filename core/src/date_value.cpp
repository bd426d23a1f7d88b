#include "morlex/core/date_value.h"

#include "morlex/core/date_text.h"

namespace morlex {

void DateValue::SetRange(const Date& minimum, const Date& maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
}

void DateValue::Show(std::optional<Date> date, std::u16string shown) {
  shown_ = Shown{date, std::move(shown)};
}

bool DateValue::Follow(std::u16string_view text, int current_year, const DateLayout& layout) {
  std::optional<Date> now = value_;
  if (shown_ && shown_->text == text) {
    now = shown_->date;
  } else {
    // Once the text is another one, the program's rendering no longer
    // speaks for it, not even when the user types it again.
    shown_.reset();
    // A text that is no date the field can hold stands for none: a date
    // typed on the way ("2/3" of "2/30/1999") is not what the user means.
    now.reset();
    if (auto read = ReadDateText(text, current_year, layout);
        read && ToSerial(*read) >= ToSerial(minimum_) && ToSerial(*read) <= ToSerial(maximum_)) {
      now = read;
    }
  }
  if (now == value_) return false;
  value_ = now;
  return true;
}

}  // namespace morlex
