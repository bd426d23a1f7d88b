#include "session.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
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
namespace {

std::string U8(const QString& s) {
  return s.toStdString();
}

std::string Hex(std::uint32_t value) {
  return "0x" + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper().toStdString();
}

class Session {
 public:
  Session(MainWindow& window, RecordStore& store, const SessionOptions& options, std::ostream& out)
      : w_(window), store_(store), options_(options), out_(out), binding_(qt::MakeQtBinding()) {
    w_.on_log = [this](const QString& line) { log_.push_back(line); };
  }
  ~Session() { w_.on_log = nullptr; }

  int Run();

 private:
  // --- The user's hands ---
  host::UserInput& In() { return binding_->Input(); }
  platform::Surface& SurfaceOf(DateColumn c) { return w_.Field(c)->control().ControlSurface(); }
  platform::TextBox& Box(DateColumn c) { return SurfaceOf(c).GetTextBox("txtDate"); }
  std::string Text(DateColumn c) { return ToUtf8(w_.Field(c)->control().Text()); }

  void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    w_.RefreshNow();
    QCoreApplication::processEvents();
  }
  // A click at the end of the field's text (the focus comes with it).
  void ClickInto(DateColumn c, int position = -1) {
    platform::TextBox& box = Box(c);
    In().ClickText(box, position < 0 ? static_cast<int>(box.Text().size()) : position);
  }
  void Type(DateColumn c, std::u16string_view keys) {
    if (In().FocusedWidget(SurfaceOf(c)) != &Box(c)) ClickInto(c);
    for (char16_t ch : keys) In().TypeKey(Box(c), ch);
    Settle();
  }
  // Selects the whole text with the keyboard, then types over it.
  void Retype(DateColumn c, std::u16string_view keys) {
    ClickInto(c);
    In().MoveCaret(Box(c), 0, static_cast<int>(Box(c).Text().size()));
    Type(c, keys);
  }
  void Enter(DateColumn c) { Type(c, u"\r"); }
  // The focus goes on to the Name box: the field commits.
  void Leave(DateColumn c) {
    w_.NameEdit()->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    if (In().FocusedWidget(SurfaceOf(c)) != nullptr) In().MoveFocus(SurfaceOf(c), nullptr);
    Settle();
  }

  // --- Checks and output ---
  void Expect(bool ok, const std::string& what) {
    if (ok) return;
    ++failures_;
    out_ << "      UNEXPECTED: " << what << "\n";
  }
  std::string InFile(DateColumn c) {
    const Person p = store_.Load(w_.Editor().Buffer().id);
    return p.DateText(c).value_or("NULL");
  }
  int CountSince(std::size_t from, const QString& needle) const {
    int n = 0;
    for (std::size_t i = from; i < log_.size(); ++i) n += log_[i].contains(needle) ? 1 : 0;
    return n;
  }
  // Pictures are numbered in the order they are taken.
  std::string Save(const QPixmap& picture, const std::string& name) {
    const std::string number = (shots_.size() < 9 ? "0" : "") + std::to_string(shots_.size() + 1);
    const std::filesystem::path file = options_.shots / (number + "-" + name + ".png");
    if (!picture.save(QString::fromStdString(file.string()), "PNG")) {
      Expect(false, "could not write " + file.string());
    }
    shots_.push_back(file);
    return "[" + file.filename().string() + "]";
  }
  std::string Shot(const std::string& name) {
    Settle();
    return Save(w_.grab(), name);
  }
  // The form with a modal window drawn over it where it stands, with a
  // title bar of its own (off screen, windows have no frames).
  std::string ShotWithDialog(QWidget* dialog, const std::string& name) {
    Settle();
    QPixmap base = w_.grab();
    const QPixmap top = dialog->grab();
    const int bar = 22;
    QPoint at = dialog->geometry().topLeft() - w_.geometry().topLeft();
    if (!QRect(QPoint(0, 0), base.size() / base.devicePixelRatio())
             .contains(QRect(at - QPoint(0, bar), top.size() / top.devicePixelRatio()))) {
      at = QPoint((base.width() - top.width()) / 2, (base.height() - top.height()) / 3 + bar);
    }
    QPainter painter(&base);
    const QRect frame(at.x() - 1, at.y() - bar - 1, top.width() + 1, top.height() + bar + 1);
    painter.fillRect(frame.adjusted(4, 4, 4, 4), QColor(0, 0, 0, 60));
    painter.fillRect(QRect(at.x(), at.y() - bar, top.width(), bar), QColor(0x2d, 0x4f, 0x8a));
    painter.setPen(Qt::white);
    QFont title = painter.font();
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(at.x() + 8, at.y() - bar, top.width() - 8, bar),
                     Qt::AlignVCenter | Qt::AlignLeft, dialog->windowTitle());
    painter.drawPixmap(at, top);
    painter.setPen(QColor(0x2d, 0x4f, 0x8a));
    painter.drawRect(frame);
    painter.end();
    return Save(base, name);
  }

  void Step(const std::string& text) {
    ++step_;
    out_ << (step_ < 10 ? "  " : " ") << step_ << ". " << text << "\n";
  }
  void More(const std::string& text) { out_ << "      " << text << "\n"; }

  void Navigate();
  void TypeAndCommit();
  void SpinTheDay();
  void CalendarPick();
  void SaveTheRecord();
  void InvalidDate();
  void RefusedDate();
  void StorageFailures();
  void NewAndDelete();
  void Properties();
  void DesignPersistence();
  void About();
  void TableInPlace();
  void ReadOnly();
  void GermanOrder();

  MainWindow& w_;
  RecordStore& store_;
  const SessionOptions& options_;
  std::ostream& out_;
  std::unique_ptr<host::Binding> binding_;
  std::vector<QString> log_;
  std::vector<std::filesystem::path> shots_;
  int step_ = 0;
  int failures_ = 0;
};

int Session::Run() {
  std::filesystem::create_directories(options_.shots);
  out_ << "MorlexDate demo: scripted session on Qt's \"" << U8(QApplication::platformName())
       << "\" platform\n"
       << "database: " << store_.Path() << (store_.Created() ? " (created, with sample rows)" : "")
       << "\n";
  Settle();
  Step("The form opens on " + w_.Editor().PositionText() + ": " + w_.Editor().Buffer().name +
       ", born " + Text(DateColumn::kBorn) + " (mm/dd/yyyy), hired " + Text(DateColumn::kHired) +
       " (m/d/yyyy), reviewed " + Text(DateColumn::kReviewed) + " (mm/dd/yy)  " + Shot("start"));

  Navigate();
  TypeAndCommit();
  SpinTheDay();
  CalendarPick();
  SaveTheRecord();
  InvalidDate();
  RefusedDate();
  StorageFailures();
  NewAndDelete();
  Properties();
  DesignPersistence();
  About();
  TableInPlace();
  ReadOnly();
  GermanOrder();

  const std::filesystem::path log_file = options_.shots / "events.log";
  {
    std::ofstream log(log_file);
    for (const QString& line : log_) log << U8(line) << "\n";
  }
  out_ << "\nScreenshots (" << shots_.size() << " PNG files) are in "
       << std::filesystem::absolute(options_.shots).string() << "\n"
       << "The full event log (" << log_.size() << " lines) is "
       << std::filesystem::absolute(log_file).string() << "\n";
  if (failures_ == 0) {
    out_ << "Every check of the session held.\n";
    return 0;
  }
  out_ << failures_ << " check(s) of the session failed.\n";
  return 1;
}

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
  const std::size_t from = log_.size();
  Retype(DateColumn::kBorn, u"2/30/1999");
  Enter(DateColumn::kBorn);
  const int invalid = CountSince(from, "DateInvalid");
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
  const std::size_t from = log_.size();
  Retype(DateColumn::kBorn, u"1/5/1850");
  Enter(DateColumn::kBorn);
  const int errors = CountSince(from, "DateError");
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
       "; Reviewed back colour " + Hex(w_.Field(DateColumn::kReviewed)->backColor()));
  Expect(loaded, "the design loaded");
  Expect(w_.Field(DateColumn::kHired)->dateFormat() == 3, "DateFormat came back from the file");
  Expect(!w_.Field(DateColumn::kHired)->spin(), "Spin came back from the file");
  Expect(w_.Field(DateColumn::kReviewed)->backColor() == 0x00C8F0FF,
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

// The form as a German user has it: with localeOrder on, the fields write
// dates as the locale's short format does (24.12.26), and the record takes
// the date typed that way.
void Session::GermanOrder() {
  const QLocale german(QLocale::German, QLocale::Germany);
  for (DateColumn c : {DateColumn::kBorn, DateColumn::kHired, DateColumn::kReviewed}) {
    w_.Field(c)->setLocale(german);
    w_.Field(c)->setLocaleOrder(true);
  }
  Settle();
  const std::string shown = Text(DateColumn::kHired);
  Retype(DateColumn::kReviewed, u"24.12.26");
  Leave(DateColumn::kReviewed);
  const bool saved = w_.SaveRecord();
  Step("In de_DE order (localeOrder on): Hired shows " + shown +
       "; typed 24.12.26 into Reviewed, "
       "which shows " +
       Text(DateColumn::kReviewed) + "; Save: " + U8(w_.LastMessage()) +
       "; the file holds reviewed " + InFile(DateColumn::kReviewed) + "  " + Shot("german-order"));
  Expect(saved, "the record saved in de_DE order");
  Expect(Text(DateColumn::kReviewed) == "24.12.26", "Reviewed shows 24.12.26");
  Expect(InFile(DateColumn::kReviewed) == "2026-12-24", "the file holds 2026-12-24");
  for (DateColumn c : {DateColumn::kBorn, DateColumn::kHired, DateColumn::kReviewed}) {
    w_.Field(c)->setLocaleOrder(false);
    w_.Field(c)->setDateOrder(qt::MorlexDateWidget::MonthDayYear);
    w_.Field(c)->setDateSeparator(QStringLiteral("/"));
  }
}

}  // namespace

int RunScriptedSession(MainWindow& window, RecordStore& store, const SessionOptions& options,
                       std::ostream& out) {
  try {
    Session session(window, store, options, out);
    return session.Run();
  } catch (const std::exception& e) {
    out << "The session stopped: " << e.what() << "\n";
  } catch (...) {
    out << "The session stopped on an unknown failure.\n";
  }
  return 1;
}

}  // namespace morlex::demo
