#include <algorithm>

#include "morlex/control/scoped_flag.h"
#include "morlex/core/unicode.h"
#include "morlex/qt/failure.h"
#include "morlex_date_widget_p.h"

namespace morlex::qt {

// --- The typed value --------------------------------------------------------------------

QDate MorlexDateWidget::date() const {
  const std::optional<Date>& value = d->value.value();
  return value ? QDate(value->year, value->month, value->day) : QDate();
}

void MorlexDateWidget::setDate(const QDate& requested) {
  Guarded([&] {
    // As on QDateEdit, a date outside the range shows the nearest end of it.
    const QDate date =
        requested.isNull() ? requested : std::clamp(requested, minimumDate(), maximumDate());
    const std::optional<std::u16string> shown = d->Rendering(date);
    if (!shown) return;
    d->value.Show(date.isNull() ? std::nullopt : std::optional(Private::FromQDate(date)), *shown);
    d->control->SetText(*shown);
    d->FollowText();  // also when the text was that rendering already
  });
}

void MorlexDateWidget::ShowDate(const QDate& date) {
  Guarded([&] {
    const std::optional<std::u16string> shown = d->Rendering(date);
    if (!shown) {
      // Outside what the field may hold: shown as it is, for the user to see.
      ShowText(date.toString(Qt::ISODate));
      return;
    }
    d->value.Show(date.isNull() ? std::nullopt : std::optional(Private::FromQDate(date)), *shown);
    const ScopedFlag showing(d->showing);
    d->control->SetText(*shown);
    d->FollowText();
  });
}

void MorlexDateWidget::ShowText(const QString& text) {
  Guarded([&] {
    // A loaded text stands for what it reads as; one that is no date the
    // field can hold has no value, and the row before it must not lend one.
    std::u16string shown = FromQString(text);
    std::optional<Date> day = d->control->ReadDate(shown);
    if (day && !d->control->InDateRange(*day)) day.reset();
    d->value.Show(day, shown);
    const ScopedFlag showing(d->showing);
    d->control->SetText(shown);
    d->FollowText();
  });
}

bool MorlexDateWidget::Commit() {
  d->committed = false;
  Guarded([&] { d->control->Commit(); });
  return d->committed;
}

bool MorlexDateWidget::Storable() const {
  const std::u16string text = d->control->Text();
  if (TrimBlanks(text).empty()) return true;
  const std::optional<Date> day = d->control->ReadDate(text);
  return day && d->control->InDateRange(*day);
}

QDate MorlexDateWidget::minimumDate() const {
  const Date& day = d->control->MinimumDate();
  return {day.year, day.month, day.day};
}
void MorlexDateWidget::setMinimumDate(const QDate& date) {
  setDateRange(date, std::max(date, maximumDate()));
}
QDate MorlexDateWidget::maximumDate() const {
  const Date& day = d->control->MaximumDate();
  return {day.year, day.month, day.day};
}
void MorlexDateWidget::setMaximumDate(const QDate& date) {
  setDateRange(std::min(date, minimumDate()), date);
}
void MorlexDateWidget::setDateRange(const QDate& minimum, const QDate& maximum) {
  Guarded([&] {
    d->control->SetDateRange(Private::FromQDate(minimum), Private::FromQDate(maximum));
    d->value.SetRange(d->control->MinimumDate(), d->control->MaximumDate());
    // A text outside the old range that the new one holds is the value now.
    d->FollowText();
  });
}

}  // namespace morlex::qt
