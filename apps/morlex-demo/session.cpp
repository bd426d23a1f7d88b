#include "session.h"

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
#include "session_player.h"

namespace morlex::demo {

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
