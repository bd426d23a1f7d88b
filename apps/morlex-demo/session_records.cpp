// The steps on the record: typing, spinning, a calendar pick, saving, the
// invalid and refused dates, storage failures, a new record and a deletion.

#include "session_player.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>
#include <QTextStream>
#include <fstream>
#include <vector>

#include "morlex/control/morlex_date.h"
#include "morlex/core/unicode.h"
#include "morlex/host/binding.h"
#include "morlex/host/qt_binding.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"

namespace morlex::demo {

void Session::Navigate() {
  const bool moved = w_.GoTo(Move::kNext);
  Expect(moved, "Next moved");
  Step("Next record: " + w_.Editor().PositionText() + ", " + w_.Editor().Buffer().name);
}

void Session::TypeAndCommit() {
  const std::string before = InFile(DateColumn::kBorn);
  const std::size_t from = log_.size();
  Retype(DateColumn::kBorn, u"4/9/1986");
  Step("Typed 4/9/1986 into Born: " + std::to_string(CountSince(from, "DateChanged")) +
       " DateChanged events and " +
       std::to_string(CountSince(from, "NotifyChanged(Text) typing") +
                      CountSince(from, "NotifyChanged(Text) key")) +
       " \"Text\" notices while typing; none of them stored anything  " + Shot("typing"));
  Expect(w_.Editor().Buffer().DateText(DateColumn::kBorn) == before,
         "typing left the record buffer alone");
  Expect(InFile(DateColumn::kBorn) == before, "typing left the file alone");

  Leave(DateColumn::kBorn);
  const std::string staged = w_.Editor().Buffer().DateText(DateColumn::kBorn).value_or("NULL");
  More("Left the field: it shows " + Text(DateColumn::kBorn) + "; the commit put " + staged +
       " into the record; the file still holds " + InFile(DateColumn::kBorn) + "  " +
       Shot("committed"));
  Expect(Text(DateColumn::kBorn) == "04/09/1986", "Born rendered as 04/09/1986");
  Expect(staged == "1986-04-09", "Born committed as 1986-04-09");
  Expect(InFile(DateColumn::kBorn) == before, "nothing written before Save");
}

void Session::SpinTheDay() {
  const std::string start = Text(DateColumn::kHired);
  // The caret goes into the day part (after "1/1"), then two steps up.
  ClickInto(DateColumn::kHired, 3);
  platform::UpDown& spin = SurfaceOf(DateColumn::kHired).GetUpDown("spinCTL");
  In().PressUpDown(spin, true);
  In().PressUpDown(spin, true);
  Settle();
  const std::string spun = Text(DateColumn::kHired);
  Leave(DateColumn::kHired);
  Step("Hired: caret in the day, two clicks on the spin indicator's up arrow: " + start + " -> " +
       spun + "; committed as " +
       w_.Editor().Buffer().DateText(DateColumn::kHired).value_or("NULL") + "  " + Shot("spin"));
  Expect(spun == "1/13/2010", "the spin steps gave 1/13/2010, not " + spun);
}

void Session::CalendarPick() {
  const std::string start = Text(DateColumn::kReviewed);
  std::string open_shot;
  std::string picked_shot;
  bool acted = false;
  w_.FieldToolkit().SetModalHook([&](platform::Form& form) {
    try {
      QWidget* dialog = qt::WidgetOf(form);
      open_shot = ShotWithDialog(dialog, "calendar-open");
      for (int i = 0; i < 42; ++i) {
        platform::Label& day = form.GetLabel("lblDay", i);
        if (day.Visible() && day.Caption() == u"15") {
          In().ClickLabel(day);
          break;
        }
      }
      picked_shot = ShotWithDialog(dialog, "calendar-day");
      In().PressButton(form.GetCommandButton("cmdOK"));
      acted = true;
    } catch (const std::exception& e) {
      Expect(false, std::string("acting in the calendar: ") + e.what());
    }
  });
  In().PressButton(SurfaceOf(DateColumn::kReviewed).GetCommandButton("cmdCalendar"));
  Settle();
  const std::string picked = Text(DateColumn::kReviewed);
  Leave(DateColumn::kReviewed);
  Step("Reviewed: the calendar button opened the month of " + start + " " + open_shot +
       "; a click on the 15th and OK " + picked_shot + " put " + picked +
       " into the field; committed as " +
       w_.Editor().Buffer().DateText(DateColumn::kReviewed).value_or("NULL"));
  Expect(acted, "the calendar was shown and used");
  Expect(picked == "02/15/26", "the calendar pick gave 02/15/26, not " + picked);
}

void Session::SaveTheRecord() {
  const bool saved = w_.SaveRecord();
  Step("Save: " + U8(w_.LastMessage()) + "  " + Shot("saved"));
  More("The file now holds born " + InFile(DateColumn::kBorn) + ", hired " +
       InFile(DateColumn::kHired) + ", reviewed " + InFile(DateColumn::kReviewed));
  Expect(saved, "the record saved");
  Expect(InFile(DateColumn::kBorn) == "1986-04-09" && InFile(DateColumn::kHired) == "2010-01-13" &&
             InFile(DateColumn::kReviewed) == "2026-02-15",
         "the file holds the three committed dates");
}

void Session::InvalidDate() {
  const std::string before = InFile(DateColumn::kBorn);
  const int invalid = RetypeAndEnter(DateColumn::kBorn, u"2/30/1999", "DateInvalid");
  const std::string shot = Shot("invalid");
  const bool saved = w_.SaveRecord();
  Step("Typed 2/30/1999 into Born and pressed Enter: DateInvalid (" + std::to_string(invalid) +
       "), the field keeps the text, nothing is stored  " + shot);
  More("Save refused: " + U8(w_.LastMessage()));
  Expect(invalid == 1, "one DateInvalid");
  Expect(Text(DateColumn::kBorn) == "2/30/1999", "the field keeps 2/30/1999");
  Expect(!saved && InFile(DateColumn::kBorn) == before, "an invalid date never reaches the file");
}

void Session::RefusedDate() {
  const std::string before = InFile(DateColumn::kBorn);
  const int errors = RetypeAndEnter(DateColumn::kBorn, u"1/5/1850", "DateError");
  Step(
      "Typed 1/5/1850 into Born and pressed Enter: the host refused the value inside "
      "NotifyChanged; the field raised DateError: " +
      U8(w_.LastMessage()) + "  " + Shot("refused"));
  Expect(errors == 1, "one DateError");
  Expect(w_.LastMessage().contains("Could not update recordset."),
         "DateError says \"Could not update recordset.\"");
  Expect(Text(DateColumn::kBorn) == "01/05/1850", "the field keeps the refused text");
  Expect(InFile(DateColumn::kBorn) == before, "the refused date never reaches the file");
  w_.RevertRecord();
  More("Revert: the form shows the file's values again (born " + Text(DateColumn::kBorn) + ")");
}

void Session::StorageFailures() {
  const std::string before = InFile(DateColumn::kReviewed);
  w_.HoldLock(true);
  Retype(DateColumn::kReviewed, u"3/1/27");
  Leave(DateColumn::kReviewed);
  const bool saved = w_.SaveRecord();
  Step("Another connection holds a write transaction; Reviewed changed to " +
       Text(DateColumn::kReviewed) + ", Save: " + U8(w_.LastMessage()) + "  " + Shot("locked"));
  Expect(!saved, "the save failed while the file was locked");
  Expect(InFile(DateColumn::kReviewed) == before, "the file kept its last good state");
  Expect(Text(DateColumn::kReviewed) == "03/01/27", "the form kept the edit");
  w_.HoldLock(false);
  const bool saved_later = w_.SaveRecord();
  More("The lock is gone; Save again: " + U8(w_.LastMessage()) + " The file holds reviewed " +
       InFile(DateColumn::kReviewed));
  Expect(saved_later && InFile(DateColumn::kReviewed) == "2027-03-01",
         "the kept edit saved once the lock was gone");

  // A rule of the table across two columns.
  Retype(DateColumn::kHired, u"1/1/1980");
  Leave(DateColumn::kHired);
  const bool saved_bad = w_.SaveRecord();
  Step("Hired set to 1/1/1980, before Born: Save: " + U8(w_.LastMessage()) + "  " +
       Shot("constraint"));
  Expect(!saved_bad && InFile(DateColumn::kHired) == "2010-01-13",
         "the CHECK constraint kept the file as it was");
  w_.RevertRecord();
}

void Session::NewAndDelete() {
  const std::size_t rows = store_.Ids().size();
  const bool started = w_.NewRecord();
  for (QChar ch : QStringLiteral("Ines Duarte")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(w_.NameEdit(), &press);
    QApplication::sendEvent(w_.NameEdit(), &release);
  }
  Retype(DateColumn::kBorn, u"10/2/1994");
  Leave(DateColumn::kBorn);
  Retype(DateColumn::kHired, u"3/1/2024");
  Leave(DateColumn::kHired);
  const bool saved = w_.SaveRecord();
  Step("New record: Ines Duarte, born " + Text(DateColumn::kBorn) + ", hired " +
       Text(DateColumn::kHired) + ", reviewed left empty; Save: " + U8(w_.LastMessage()) + " (" +
       w_.Editor().PositionText() + ")  " + Shot("new-record"));
  Expect(started && saved && store_.Ids().size() == rows + 1, "the new record was inserted");
  Expect(InFile(DateColumn::kReviewed) == "NULL", "an empty field is stored as NULL");
  const bool deleted = w_.DeleteRecord();
  More("Delete: " + U8(w_.LastMessage()) + ", now on " + w_.Editor().Buffer().name);
  Expect(deleted && store_.Ids().size() == rows, "the new record was deleted again");
  w_.GoTo(Move::kFirst);
  w_.GoTo(Move::kNext);
}

}  // namespace morlex::demo
