// The steps on the rest of the form: the properties panel, the design in
// files and design mode, the about box, the table and the read-only file.

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

void Session::Properties() {
  w_.SetFieldFormat(DateColumn::kHired, 3);
  w_.SetFieldSpin(DateColumn::kHired, false);
  w_.SetFieldColors(DateColumn::kReviewed, 0x00C8F0FF, 0x000000B0);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(10);
  font.setBold(true);
  w_.SetFieldFont(DateColumn::kBorn, font);
  w_.SetFieldCalendar(DateColumn::kBorn, false);
  w_.SelectPanelField(DateColumn::kHired);
  Step("Properties at run time: Hired DateFormat 3 (m/d/yy) shows " + Text(DateColumn::kHired) +
       " and has no spin indicator; Reviewed in new colours; Born in a bold font without its "
       "calendar button  " +
       Shot("properties"));
  Expect(Text(DateColumn::kHired) == "1/13/10", "Hired re-rendered as 1/13/10");
  Expect(!w_.Editor().Dirty(), "changing properties left the record clean");
}

void Session::DesignPersistence() {
  const bool saved = w_.SaveDesign();
  Step("Save design (WriteProperties into property-bag files): " + U8(w_.LastMessage()));
  Expect(saved, "the design saved");

  w_.SetDesignMode(true);
  Retype(DateColumn::kBorn, u"1/1/2000");
  Leave(DateColumn::kBorn);
  More(
      "Design mode (UserMode False): typing 1/1/2000 into Born changes its design-time Text, "
      "not the record  " +
      Shot("design-mode"));
  Expect(w_.Editor().Binding(DateColumn::kBorn)->DesignChanged(), "a design change was noted");
  w_.SetDesignMode(false);

  // Undo the run-time changes, then read the design back from the files.
  w_.SetFieldFormat(DateColumn::kHired, 2);
  w_.SetFieldSpin(DateColumn::kHired, true);
  const bool loaded = w_.ReloadDesign();
  More("Reload design (ReadProperties from the files): Hired shows " + Text(DateColumn::kHired) +
       ", spin " + (w_.Field(DateColumn::kHired)->spin() ? "on" : "off") +
       "; Reviewed back colour " + Hex(w_.Field(DateColumn::kReviewed)->backColorValue()));
  Expect(loaded, "the design loaded");
  Expect(w_.Field(DateColumn::kHired)->dateFormat() == 3, "DateFormat came back from the file");
  Expect(!w_.Field(DateColumn::kHired)->spin(), "Spin came back from the file");
  Expect(w_.Field(DateColumn::kReviewed)->backColorValue() == 0x00C8F0FF,
         "BackColor came back from the file");
  Expect(Text(DateColumn::kBorn) == "04/09/1986", "back at run time the field shows the record");
}

// The table of every record: the dates edited in place by the field, saved
// through the same store and rules; looking at them changes nothing.
void Session::TableInPlace() {
  QTableView& table = *w_.Table();
  const auto file_bytes = [this] {
    QFile file(QString::fromStdString(store_.Path()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  const auto editor = [&table]() -> qt::MorlexDateWidget* {
    for (auto* field : table.viewport()->findChildren<qt::MorlexDateWidget*>()) {
      if (field->isVisible()) return field;
    }
    return nullptr;
  };
  const auto key = [&](char16_t ch) {
    if (qt::MorlexDateWidget* field = editor()) {
      In().TypeKey(field->control().ControlSurface().GetTextBox("txtDate"), ch);
    }
    Settle();
  };
  const auto open = [&](int row, DateColumn c) {
    const QModelIndex at = table.model()->index(row, 1 + static_cast<int>(c));
    table.setCurrentIndex(at);
    table.edit(at);
    Settle();
  };
  const std::int64_t id = store_.Ids().front();
  const auto reviewed = [&] { return store_.Load(id).DateText(DateColumn::kReviewed); };
  const std::string first = store_.Load(id).name;
  const QByteArray before = file_bytes();

  // Through the three date cells of the first row with Tab, and out.
  open(0, DateColumn::kBorn);
  for (int i = 0; i < 3; ++i) key(u'\t');
  key(27);  // Esc closes the editor the last Tab opened
  Expect(file_bytes() == before, "passing through the table's dates left the file as it was");

  open(0, DateColumn::kReviewed);
  const auto retype = [&](std::u16string_view keys) {
    if (qt::MorlexDateWidget* field = editor()) {
      platform::TextBox& box = field->control().ControlSurface().GetTextBox("txtDate");
      In().MoveCaret(box, 0, static_cast<int>(box.Text().size()));
    }
    for (char16_t ch : keys) key(ch);
  };
  retype(u"2/30/27\r");
  const bool stays_open = editor() != nullptr;
  Expect(stays_open, "the table's editor stayed open on a text that is no date");
  Expect(file_bytes() == before, "the invalid date was not stored");
  retype(u"3/15/27");
  const std::string typing = Shot("table-editing");
  key(u'\r');
  Step("The table of all records: Tab through " + first +
       "'s dates changes nothing in the file; Reviewed edited in place: 2/30/27 and Enter keeps "
       "the editor open (DateInvalid), 3/15/27 and Enter saves " +
       reviewed().value_or("NULL") + " at once  " + typing + " " + Shot("table-saved"));
  Expect(editor() == nullptr, "Enter on a date closed the table's editor");
  Expect(reviewed() == std::optional<std::string>("2027-03-15"),
         "the table saved the date as ISO text");
  More("The status line: " + U8(w_.LastMessage()));

  // A save from the table that fails keeps the edit in the table.
  w_.HoldLock(true);
  const QByteArray saved_bytes = file_bytes();
  open(0, DateColumn::kReviewed);
  retype(u"4/1/27\r");
  const QVariant shown =
      table.model()->index(0, 1 + static_cast<int>(DateColumn::kReviewed)).data();
  Step("Another connection holds a write lock; Reviewed edited in the table to 4/1/27: " +
       U8(w_.LastMessage()) + "  " + Shot("table-locked"));
  Expect(file_bytes() == saved_bytes, "the file kept its last good state");
  Expect(shown.toString() == QStringLiteral("2027-04-01"), "the table kept the edit");
  Expect(table.model()->headerData(0, Qt::Vertical).toString().endsWith(u'*'),
         "the table marks the row with the unsaved edit");
  w_.HoldLock(false);
  const bool saved_later = w_.SaveTableEdits();
  More("The lock is gone; Save table edits: " + U8(w_.LastMessage()) + " The file holds reviewed " +
       reviewed().value_or("NULL"));
  Expect(saved_later && reviewed() == std::optional<std::string>("2027-04-01"),
         "the kept edit saved once the lock was gone");

  // A rule of the table refuses the edit: it waits until the user corrects it.
  const auto hired = [&] { return store_.Load(id).DateText(DateColumn::kHired); };
  const std::optional<std::string> hired_before = hired();
  open(0, DateColumn::kHired);
  retype(u"1/1/1970\r");
  const QVariant refused = table.model()->index(0, 1 + static_cast<int>(DateColumn::kHired)).data();
  More("Hired edited in the table to 1/1/1970, before Born: " + U8(w_.LastMessage()));
  Expect(hired() == hired_before && refused.toString() == QStringLiteral("1970-01-01"),
         "the refused edit stays in the table, not in the file");
  open(0, DateColumn::kHired);
  retype(u"9/2/2004\r");
  More("Corrected to 9/2/2004: " + U8(w_.LastMessage()));
  Expect(hired() == std::optional<std::string>("2004-09-02") && w_.SaveTableEdits(),
         "the corrected edit is saved, and nothing waits");
}

void Session::About() {
  std::string shot;
  w_.FieldToolkit().SetModalHook([&](platform::Form& form) {
    try {
      shot = ShotWithDialog(qt::WidgetOf(form), "about");
      In().PressButton(form.GetCommandButton("cmdClose"));
    } catch (const std::exception& e) {
      Expect(false, std::string("acting in the about box: ") + e.what());
    }
  });
  w_.ShowAbout();
  Settle();
  Step("Help > About: AboutBox shows the component's about box  " + shot);
  Expect(!shot.empty(), "the about box was shown");
}

void Session::ReadOnly() {
  const std::string before = InFile(DateColumn::kBorn);
  RecordStore read_only({.path = store_.Path(), .read_only = true});
  WindowOptions options;
  options.interactive = false;
  MainWindow second(read_only, options);
  second.resize(w_.size());
  second.show();
  Settle();
  // The same hands, on the second window.
  platform::Surface& surface = second.Field(DateColumn::kBorn)->control().ControlSurface();
  platform::TextBox& box = surface.GetTextBox("txtDate");
  In().ClickText(box, static_cast<int>(box.Text().size()));
  In().MoveCaret(box, 0, static_cast<int>(box.Text().size()));
  for (char16_t ch : std::u16string_view(u"7/7/1977")) In().TypeKey(box, ch);
  second.NameEdit()->setFocus();
  if (In().FocusedWidget(surface) != nullptr) In().MoveFocus(surface, nullptr);
  QCoreApplication::processEvents();
  second.RefreshNow();
  const std::string kept = ToUtf8(second.Field(DateColumn::kBorn)->control().Text());
  const bool saved = second.SaveRecord();
  second.RefreshNow();
  QCoreApplication::processEvents();
  const std::string shot = Save(second.grab(), "read-only");
  Step(
      "The same file opened with SQLITE_OPEN_READONLY in a second window: CanChange(\"Text\") "
      "answers False, typing 7/7/1977 leaves the field showing " +
      kept + ", and Save is refused: " + U8(second.LastMessage()) + "  " + shot);
  Expect(!saved, "nothing saved through a read-only connection");
  Expect(kept == "07/07/1977", "the field keeps its text");
  Expect(InFile(DateColumn::kBorn) == before, "the file is unchanged");
  second.close();
}

}  // namespace morlex::demo
