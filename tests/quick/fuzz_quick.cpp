// morlex-quick-fuzz: the widget driver's seeded random user and program
// (morlex-qt-fuzz) played on DateField of Qt Quick (offscreen), beside a
// TextField. Steps: keys with and without Alt/Ctrl/Meta/Shift (characters,
// editing keys, Up/Down, PageUp/PageDown, Alt+Down, F4, F2, Insert, Enter,
// Tab and Backtab), focus moves, clicks on the field's text, spin and
// calendar button, on any point of the field and on the TextField, font and
// width changes, and writes of date, range, text, format, readOnly, spin and
// calendar, commit() and selectAll(). A calendar popup that opens is played
// from a timer inside its loop (keys, clicks and double clicks on its grid
// cells, its buttons and any part of it), then closed.
//
// After every step:
//  - no popup is open, and one opened only from a step that may open it
//    (Alt+Up/Down or F4 in the field, a key on its calendar button, a click
//    on that button);
//  - the focus is on the field or the TextField, and where it was unless
//    the step moved it (Tab, Backtab, a click, a focus move);
//  - a typed key takes the text past 11 characters only by one character;
//    paste (the field's is any Ctrl+V without Alt), undo and redo are only
//    counted;
//  - `date` follows the text (the rule of tests/support/date_text_rule.h,
//    the widget driver's): the date an in-range date text reads as (or a
//    date the program showed as that text, while the text is still the one
//    it wrote), else invalid, never a date a text on the way stood for;
//  - `acceptableInput` holds exactly for an empty text or one that reads as
//    a date within the range, and the range stays ordered;
//  - the module's QML gives no warning;
//  - no failure reaches the Qt boundary, except from a write of a value the
//    field refuses (a date outside its range or years), which is counted.
//
//   morlex-quick-fuzz [--seed N] [--steps N] [--verbose]
// exits 0 when every invariant held; otherwise prints the last steps and the
// broken invariant and exits 1.
#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "date_text_rule.h"
#include "fuzz_player.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/error.h"
#include "morlex/headless/toolkit.h"
#include "morlex/quick/date_field.h"
#include "morlex/quick/toolkit.h"

void qml_register_types_Morlex_Controls();

namespace {

using morlex::quick::DateFieldTemplate;

// A warning from the module's QML (a binding on a null part, say): the
// last one, a broken invariant at the end of the step.
QString module_warning;

void Quiet(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const QLatin1String module("Morlex/Controls/");
  if (message.contains(module) || QString::fromUtf8(context.file).contains(module)) {
    module_warning = message;
  }
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

std::string FailureText(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const morlex::Error& e) {
    return e.description();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown failure";
  }
}

// Of the years the field holds (a range write of any other date fails).
bool Holdable(const QDate& date) {
  return date.isValid() && date.year() >= 100 && date.year() <= 9999;
}

// What a step may do.
struct Expect {
  bool popup = false;  // may open the calendar popup
  bool moves = false;  // may move the focus
  bool typed = false;  // a key went to the field
  int length_before = 0;
  bool may_fail = false;  // a write of a value the field refuses
  bool pastes = false;    // the key is paste, undo or redo
};

class Driver : public QObject, private morlex::test::FuzzPlayer {
 public:
  Driver(QQuickWindow& window, DateFieldTemplate& field, QQuickItem& other, std::uint32_t seed,
         bool verbose)
      : FuzzPlayer("morlex-quick-fuzz", seed, verbose),
        window_(window),
        field_(field),
        other_(other) {
    QObject::connect(&field_, &DateFieldTemplate::popupOpenChanged, this, [this] {
      if (field_.popupOpen()) ++opened_;
    });
    field_.forceActiveFocus();
    // Plays the popup from inside its loop, then closes it.
    watchdog_.setInterval(2);
    QObject::connect(&watchdog_, &QTimer::timeout, this, [this] { PlayPopup(); });
    watchdog_.start();
  }

  void Run(int steps) {
    QElapsedTimer clock;
    clock.start();
    for (step_ = 0; step_ < steps; ++step_) Step();
    std::printf(
        "morlex-quick-fuzz: seed %u, %d steps in %.1f s: %d keys, %d clicks, %d writes "
        "(%d refused), %d looks, %d focus moves, %d popups played; %d pastes or undos past 11 "
        "characters\n",
        seed_, steps, static_cast<double>(clock.elapsed()) / 1000.0, keys_, clicks_, writes_,
        refused_, looks_, moves_, popups_, long_pastes_);
  }

 private:
  // --- The focus --------------------------------------------------------------
  enum class Owner { kNone, kField, kOther, kElsewhere };
  Owner OwnerOf(QQuickItem* item) const {
    if (item == nullptr) return Owner::kNone;
    if (item == &field_ || field_.isAncestorOf(item)) return Owner::kField;
    if (item == &other_ || other_.isAncestorOf(item)) return Owner::kOther;
    return Owner::kElsewhere;
  }
  static const char* Name(Owner owner) {
    static const char* const kNames[] = {"nothing", "the field", "the TextField", "elsewhere"};
    return kNames[static_cast<int>(owner)];
  }
  Owner Focus() const { return OwnerOf(window_.activeFocusItem()); }

  // --- A step -----------------------------------------------------------------
  void Step() {
    const Owner owner_before = Focus();
    opened_before_ = opened_;
    Expect expect;
    morlex::quick::FailureCapture capture;
    const int kind = Pick(100);
    if (kind < 45) {
      Key(expect);
    } else if (kind < 60) {
      Click(expect);
    } else if (kind < 66) {
      FocusMove(expect);
    } else if (kind < 72) {
      Look();
    } else {
      Write(expect);
    }
    QGuiApplication::processEvents();
    try {
      capture.Rethrow();
    } catch (...) {
      const std::string failure = FailureText(std::current_exception());
      if (!expect.may_fail) Fail("a failure reached the boundary: " + failure);
      ++refused_;
    }
    Check(expect, owner_before);
  }

  void Check(const Expect& expect, Owner owner_before) {
    if (!module_warning.isEmpty()) Fail("the module's QML warns: " + module_warning.toStdString());
    if (field_.popupOpen()) Fail("a popup is still open");
    for (QObject* child : field_.children()) {
      if (child->inherits("QQuickPopup") && child->property("visible").toBool()) {
        Fail("the field's popup is still shown");
      }
    }
    if (opened_ > opened_before_ && !expect.popup)
      Fail("a popup opened that the step does not open");
    const Owner owner = Focus();
    if (owner != Owner::kField && owner != Owner::kOther) {
      Fail(std::string("the focus is ") + Name(owner));
    }
    if (!expect.moves && owner != owner_before) {
      Fail(std::string("the focus moved from ") + Name(owner_before) + " to " + Name(owner));
    }
    const QString text = field_.text();
    if (expect.typed) {
      const int length = static_cast<int>(text.size());
      if (length > std::max(expect.length_before + 1, 11)) {
        if (!expect.pastes) Fail("a typed key made the text " + text.toStdString());
        ++long_pastes_;
      }
    }
    const QDate date = field_.date();
    const QDate lo = field_.minimumDate();
    const QDate hi = field_.maximumDate();
    const std::string where = "text \"" + text.toStdString() + "\", date " +
                              date.toString(Qt::ISODate).toStdString() + ", range " +
                              lo.toString(Qt::ISODate).toStdString() + ".." +
                              hi.toString(Qt::ISODate).toStdString();
    if (date.isValid() && (date.year() < 100 || date.year() > 9999)) Fail(where + ": out of years");
    if (!(lo <= hi)) Fail(where + ": the range is out of order");
    // The date the program wrote stays while the field shows the text it
    // wrote, also once that text reads otherwise: after a range that leaves
    // the date out, or a format change that leaves the text as it was (the
    // pattern of no format keeps any text), the field still shows the
    // program's rendering.
    if (program_ && program_->text != text) program_.reset();
    if (!program_ || program_->date != date) {
      const std::string broken = morlex::test::DateRuleBroken(
          text, date, QDate::currentDate().year(), lo, hi, morlex::test::U16(field_.pattern()));
      if (!broken.empty()) Fail(where + ": " + broken);
    }
    const bool acceptable = field_.acceptableInput();
    if (text.isEmpty() && !acceptable) Fail(where + ": an empty text is not acceptable");
    if (acceptable && !text.isEmpty() && !date.isValid()) {
      Fail(where + ": an acceptable text has no date");
    }
  }

  // --- Keys -------------------------------------------------------------------
  using KeyChoice = morlex::test::KeyChoice;
  static constexpr auto kKeys = morlex::test::PlayerKeys({Qt::Key_X, 'x'});

  // A key press and release, as the window system delivers them: to the item
  // with the active focus (the popup's, while it is open).
  void Press(Qt::Key key, char text, Qt::KeyboardModifiers mods) {
    QString typed;
    if (text != 0) {
      typed = QString(QChar::fromLatin1(
          (mods & Qt::ShiftModifier) ? static_cast<char>(std::toupper(text)) : text));
    }
    QKeyEvent press(QEvent::KeyPress, key, mods, typed);
    QGuiApplication::sendEvent(&window_, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, typed);
    QGuiApplication::sendEvent(&window_, &release);
  }

  // Whether the field's own focus is on its calendar button, where any key
  // (Space) may press it.
  bool OnCalendarButton() const {
    morlex::MorlexDate* control = field_.Control();
    if (control == nullptr) return false;
    auto& surface = dynamic_cast<morlex::headless::Surface&>(control->ControlSurface());
    return surface.Focused() == &surface.Button("cmdCalendar");
  }

  void Key(Expect& expect) {
    KeyChoice choice = kKeys[Pick(static_cast<int>(std::size(kKeys)))];
    Qt::KeyboardModifiers mods = Modifiers();
    if (Chance(8)) {  // the down arrow with Alt, the calendar's key
      choice = {Qt::Key_Down, 0};
      mods = Qt::AltModifier;
    }
    const Owner target = Focus();
    Note("key " + Describe(choice.key, mods) + " to " + Name(target));
    ++keys_;
    // Paste, undo and redo put text in that no key typed (counted below).
    const QKeyEvent event(QEvent::KeyPress, choice.key, mods);
    expect.pastes = event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Undo) ||
                    event.matches(QKeySequence::Redo);
    // The field pastes on Ctrl+V with Shift or Meta held as well (any
    // Ctrl+V without Alt): a paste too, not a typed key.
    if (choice.key == Qt::Key_V && (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
      expect.pastes = true;
    }
    if (target == Owner::kField) {
      expect.typed = true;
      expect.length_before = static_cast<int>(field_.text().size());
      const bool arrow = choice.key == Qt::Key_Down || choice.key == Qt::Key_Up;
      expect.popup =
          choice.key == Qt::Key_F4 || (arrow && (mods & Qt::AltModifier)) || OnCalendarButton();
    }
    expect.moves = choice.key == Qt::Key_Tab || choice.key == Qt::Key_Backtab;
    Press(choice.key, choice.text, mods);
  }

  // --- Clicks -----------------------------------------------------------------
  void MouseAt(QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, at, Qt::LeftButton, buttons, Qt::NoModifier);
    QGuiApplication::sendEvent(&window_, &event);
  }

  void ClickAt(QPointF at, bool twice = false) {
    MouseAt(QEvent::MouseButtonPress, at, Qt::LeftButton);
    MouseAt(QEvent::MouseButtonRelease, at, Qt::NoButton);
    if (!twice) return;
    MouseAt(QEvent::MouseButtonPress, at, Qt::LeftButton);
    MouseAt(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
    MouseAt(QEvent::MouseButtonRelease, at, Qt::NoButton);
  }

  void ClickField(QPointF at, bool twice = false) {
    // A press on the calendar button opens the popup.
    expect_popup_ = expect_popup_ || field_.buttonArea().contains(at);
    ClickAt(field_.mapToScene(at), twice);
  }

  void Click(Expect& expect) {
    ++clicks_;
    expect.moves = true;
    expect_popup_ = false;
    switch (Pick(5)) {
      case 0: {
        const QRectF box = field_.textArea();
        const bool twice = Chance(30);
        Note(twice ? "double-click the text" : "click the text");
        if (!box.isEmpty()) {
          ClickField({box.x() + Pick(std::max(1, static_cast<int>(box.width()))), box.center().y()},
                     twice);
        }
        break;
      }
      case 1: {
        const QRectF spin = field_.spinArea();
        const bool up = Chance(50);
        Note(up ? "click the spin's upper arrow" : "click the spin's lower arrow");
        if (!spin.isEmpty()) {
          ClickField({spin.center().x(),
                      up ? spin.top() + spin.height() / 4 : spin.bottom() - spin.height() / 4});
        }
        break;
      }
      case 2: {
        const QRectF button = field_.buttonArea();
        Note("click the calendar button");
        if (!button.isEmpty()) ClickField(button.center());
        break;
      }
      case 3:
        Note("click the TextField");
        ClickAt(other_.mapToScene(QPointF(other_.width() / 2, other_.height() / 2)));
        break;
      default: {
        const QPointF at(Pick(static_cast<int>(field_.width()) + 1),
                         Pick(static_cast<int>(field_.height()) + 1));
        Note("click the field at " + std::to_string(static_cast<int>(at.x())) + "," +
             std::to_string(static_cast<int>(at.y())));
        ClickField(at);
        break;
      }
    }
    expect.popup = expect_popup_;
  }

  void FocusMove(Expect& expect) {
    ++moves_;
    expect.moves = true;
    if (Chance(50)) {
      Note("focus to the field");
      field_.forceActiveFocus();
    } else {
      Note("focus to the TextField");
      other_.forceActiveFocus();
    }
  }

  // --- Font and size ----------------------------------------------------------
  void Look() {
    ++looks_;
    static const char* const kFamilies[] = {"DejaVu Sans", "DejaVu Serif", "Liberation Mono",
                                            "no such face"};
    QFont font = field_.property("font").value<QFont>();
    switch (Pick(3)) {
      case 0:
        font.setPixelSize(5 + Pick(30));
        Note("font.pixelSize " + std::to_string(font.pixelSize()));
        break;
      case 1:
        font.setFamily(QString::fromLatin1(kFamilies[Pick(4)]));
        font.setBold(Chance(30));
        Note("font.family " + font.family().toStdString());
        break;
      default: {
        const int width = 40 + Pick(360);
        Note("width " + std::to_string(width));
        field_.setWidth(width);
        return;
      }
    }
    field_.setProperty("font", font);
  }

  // --- Program writes ---------------------------------------------------------
  QDate SomeDate() {
    switch (Pick(6)) {
      case 0:
        return {};
      case 1:
        return QDate(1920 + Pick(3), 1, 5);
      case 2:
        return QDate(Pick(2) == 0 ? 100 : 9999, Pick(2) == 0 ? 1 : 12, Pick(2) == 0 ? 1 : 31);
      case 3:
        return QDate(99, 12, 31);  // before the years the field holds
      default:
        return QDate(1890 + Pick(220), 1 + Pick(12), 1 + Pick(31));  // may be invalid
    }
  }

  void Write(Expect& expect) {
    ++writes_;
    switch (Pick(8)) {
      case 0:
      case 1: {
        const QDate date = SomeDate();
        Note("date " + date.toString(Qt::ISODate).toStdString());
        // An invalid date empties the field; one outside the range is refused.
        expect.may_fail = date.isValid() && (!Holdable(date) || date < field_.minimumDate() ||
                                             date > field_.maximumDate());
        field_.setProperty("date", date);
        if (!expect.may_fail) {
          program_.reset();
          if (date.isValid()) program_ = Written{date, field_.text()};
        }
        break;
      }
      case 2: {
        const QDate date = SomeDate();
        const bool minimum = Chance(50);
        Note(std::string(minimum ? "minimumDate " : "maximumDate ") +
             date.toString(Qt::ISODate).toStdString());
        // An invalid date lifts the bound.
        expect.may_fail = date.isValid() && !Holdable(date);
        field_.setProperty(minimum ? "minimumDate" : "maximumDate", date);
        break;
      }
      case 3: {
        static const char* const kTexts[] = {"",         "1/5/20",     "02/29/2000", "2/30/1999",
                                             "12/31/99", "7/4/0100",   "13/1/2000",  "  ",
                                             "3/3/3",    "10/10/2010", "1/1/10000"};
        const QString text = Chance(70) ? QString::fromLatin1(kTexts[Pick(11)])
                                        : QStringLiteral("%1/%2/%3")
                                              .arg(Pick(14))
                                              .arg(Pick(33))
                                              .arg(Chance(30) ? Pick(100) : 1900 + Pick(200));
        Note("text " + text.toStdString());
        field_.setProperty("text", text);
        break;
      }
      case 4: {
        // QML may write any number; one outside the four formats empties the
        // pattern.
        const int format = Chance(90) ? Pick(4) : 7;
        Note("dateFormat " + std::to_string(format));
        field_.setProperty("dateFormat", format);
        break;
      }
      case 5: {
        static const char* const kFlags[] = {"readOnly", "spin", "calendar"};
        const char* flag = kFlags[Pick(3)];
        const bool on = Chance(flag == kFlags[0] ? 30 : 70);
        Note(std::string(flag) + (on ? " on" : " off"));
        field_.setProperty(flag, on);
        break;
      }
      default:
        if (Chance(50)) {
          Note("commit()");
          field_.commit();
        } else {
          Note("selectAll()");
          field_.selectAll();
        }
        break;
    }
  }

  // --- The popup --------------------------------------------------------------
  // The parts of the open popup whose kind is kind (and, for labels, that are
  // cells of the grid), each with its row.
  std::vector<int> PartsOf(QAbstractItemModel& parts, const char* kind) {
    const QHash<int, QByteArray> names = parts.roleNames();
    const int kind_role = names.key("kind");
    const int cell_role = names.key("cell");
    const int visible_role = names.key("visible");
    std::vector<int> rows;
    for (int row = 0; row < parts.rowCount(); ++row) {
      const QModelIndex index = parts.index(row, 0);
      if (index.data(kind_role).toString() != QLatin1String(kind)) continue;
      if (!index.data(visible_role).toBool()) continue;
      if (std::string_view(kind) == "label" && !index.data(cell_role).toBool()) continue;
      rows.push_back(row);
    }
    return rows;
  }

  // A click (or double click) on the part of the popup at row.
  void ClickPart(QObject& popup, QAbstractItemModel& parts, int row, bool twice) {
    const QHash<int, QByteArray> names = parts.roleNames();
    const QModelIndex index = parts.index(row, 0);
    const auto role = [&](const char* name) { return index.data(names.key(name)).toReal(); };
    auto* content = popup.property("contentItem").value<QQuickItem*>();
    if (content == nullptr) return;
    const QPointF at(role("x") + role("width") / 2, role("y") + role("height") / 2);
    Note(std::string(twice ? "  popup double-click " : "  popup click ") +
         index.data(names.key("kind")).toString().toStdString() + " \"" +
         index.data(names.key("caption")).toString().toStdString() + "\"");
    ClickAt(content->mapToScene(at), twice);
  }

  // One action a tick, as the user's events come one at a time: a key or a
  // click that closes the popup ends its loop before the next one.
  void PlayPopup() {
    if (!field_.popupOpen()) return;
    if (played_ != opened_) {
      played_ = opened_;
      ++popups_;
      actions_left_ = Pick(7);
      Note("  popup");
    }
    QObject* popup = field_.popupObject();
    if (actions_left_-- <= 0) {
      Note("  close the popup");
      QMetaObject::invokeMethod(popup, "close");
      return;
    }
    static constexpr Qt::Key kPopupKeys[] = {
        Qt::Key_Left,     Qt::Key_Right, Qt::Key_Up,   Qt::Key_Down,  Qt::Key_PageUp,
        Qt::Key_PageDown, Qt::Key_Home,  Qt::Key_End,  Qt::Key_Tab,   Qt::Key_Backtab,
        Qt::Key_Space,    Qt::Key_1,     Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Return,
        Qt::Key_Escape,   Qt::Key_F4};
    auto* parts = popup->property("parts").value<QAbstractItemModel*>();
    const int what = Pick(100);
    if (what < 60 || parts == nullptr) {
      const Qt::Key key = kPopupKeys[Pick(static_cast<int>(std::size(kPopupKeys)))];
      const Qt::KeyboardModifiers mods = Chance(70) ? Qt::KeyboardModifiers() : Modifiers();
      Note("  popup key " + Describe(key, mods));
      Press(key, key == Qt::Key_1 ? '1' : key == Qt::Key_Space ? ' ' : 0, mods);
    } else if (what < 70) {
      // Its OK and Cancel buttons.
      const std::vector<int> buttons = PartsOf(*parts, "button");
      if (!buttons.empty()) {
        ClickPart(*popup, *parts,
                  buttons[static_cast<std::size_t>(Pick(static_cast<int>(buttons.size())))], false);
      }
    } else if (what < 85) {
      const std::vector<int> cells = PartsOf(*parts, "label");
      if (!cells.empty()) {
        ClickPart(*popup, *parts,
                  cells[static_cast<std::size_t>(Pick(static_cast<int>(cells.size())))],
                  Chance(30));
      }
    } else if (const int rows = parts->rowCount(); rows > 0) {
      ClickPart(*popup, *parts, Pick(rows), false);
    }
  }

  QQuickWindow& window_;
  DateFieldTemplate& field_;
  QQuickItem& other_;
  QTimer watchdog_;
  bool expect_popup_ = false;
  // The date the program wrote last and the text it showed it as.
  struct Written {
    QDate date;
    QString text;
  };
  std::optional<Written> program_;
  int opened_ = 0;         // popups opened so far
  int opened_before_ = 0;  // by the steps before this one
  int played_ = 0;         // popups played so far
  int actions_left_ = 0;   // on the popup being played
  int long_pastes_ = 0;
  int keys_ = 0, clicks_ = 0, writes_ = 0, refused_ = 0, looks_ = 0, moves_ = 0, popups_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const auto args = morlex::test::ReadFuzzArgs(argc, argv, "morlex-quick-fuzz");
  if (!args) return 2;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(Quiet);
  QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  QGuiApplication app(argc, argv);
  // The module is linked in, so that the failures the field hands to the Qt
  // boundary reach this driver's capture.
  qml_register_types_Morlex_Controls();
  QQmlEngine engine;
  engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
  QQmlComponent component(&engine);
  component.setData(
      "import QtQuick\nimport QtQuick.Controls\nimport Morlex.Controls\n"
      "ApplicationWindow { width: 420; height: 420; visible: true\n"
      "  Column { DateField { objectName: 'field'; width: 200 }\n"
      "           TextField { objectName: 'other'; width: 200 } } }\n",
      QUrl());
  QObject* root = component.create();
  if (root == nullptr) {
    std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
    return 1;
  }
  auto* window = qobject_cast<QQuickWindow*>(root);
  auto* field = root->findChild<DateFieldTemplate*>(QStringLiteral("field"));
  auto* other = root->findChild<QQuickItem*>(QStringLiteral("other"));
  if (window == nullptr || field == nullptr || other == nullptr) {
    std::fprintf(stderr, "morlex-quick-fuzz: the scene lacks its window or items\n");
    return 1;
  }
  QGuiApplication::processEvents();
  {
    Driver driver(*window, *field, *other, args->seed, args->verbose);
    driver.Run(args->steps);
  }
  delete root;
  return 0;
}
