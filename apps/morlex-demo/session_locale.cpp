// The step in a German user's order of the date.

#include <QLocale>

#include "morlex/control/morlex_date.h"
#include "morlex/qt/morlex_date_widget.h"
#include "session_player.h"

namespace morlex::demo {

// The form as a German user has it: with localeOrder on, the fields write
// dates as the locale's short format does (24.12.26), and the record takes
// the date typed that way.
void Session::GermanOrder() {
  const QLocale german(QLocale::German, QLocale::Germany);
  constexpr DateColumn kAll[] = {DateColumn::kBorn, DateColumn::kHired, DateColumn::kReviewed};
  for (DateColumn c : kAll) {
    w_.Field(c)->setLocale(german);
    w_.Field(c)->setLocaleOrder(true);
  }
  Settle();
  const std::string shown = Text(DateColumn::kHired);
  Retype(DateColumn::kReviewed, u"24.12.26");
  Leave(DateColumn::kReviewed);
  const bool saved = w_.SaveRecord();
  Step("In de_DE order (localeOrder on): Hired shows " + shown +
       "; typed 24.12.26 into Reviewed, which shows " + Text(DateColumn::kReviewed) +
       "; Save: " + U8(w_.LastMessage()) + "; the file holds reviewed " +
       InFile(DateColumn::kReviewed) + "  " + Shot("german-order"));
  Expect(saved, "the record saved in de_DE order");
  Expect(Text(DateColumn::kReviewed) == "24.12.26", "Reviewed shows 24.12.26");
  Expect(InFile(DateColumn::kReviewed) == "2026-12-24", "the file holds 2026-12-24");
  for (DateColumn c : kAll) {
    w_.Field(c)->setLocaleOrder(false);
    w_.Field(c)->setDateOrder(qt::MorlexDateWidget::MonthDayYear);
    w_.Field(c)->setDateSeparator(QStringLiteral("/"));
    w_.Field(c)->setLocale(QLocale());
  }
}

}  // namespace morlex::demo
