#pragma once
// The scripted session's player: the user's hands on the form, the checks
// and the pictures, and one method for each step (session_*.cpp).

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "morlex/control/morlex_date.h"
#include "morlex/core/unicode.h"
#include "morlex/host/binding.h"
#include "morlex/host/qt_binding.h"
#include "morlex/qt/morlex_date_widget.h"
#include "session.h"

namespace morlex::demo {

inline std::string U8(const QString& s) {
  return s.toStdString();
}

inline std::string Hex(std::uint32_t value) {
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
  // Retypes the field's text and presses Enter; gives how many of the log's
  // lines since then name event.
  int RetypeAndEnter(DateColumn c, std::u16string_view keys, const QString& event) {
    const std::size_t from = log_.size();
    Retype(c, keys);
    Enter(c);
    return CountSince(from, event);
  }
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
    // Two digits at least, so that the pictures sort in the order taken.
    std::string number = std::to_string(shots_.size() + 1);
    if (number.size() < 2) number.insert(number.begin(), '0');
    const std::filesystem::path file = options_.shots / (number + "-" + name + ".png");
    if (!picture.save(QString::fromStdString(file.string()), "PNG")) {
      Expect(false, "could not write " + file.string());
    }
    shots_.push_back(file);
    std::string shown = file.filename().string();
    shown.insert(shown.begin(), '[');
    shown.push_back(']');
    return shown;
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

}  // namespace morlex::demo
