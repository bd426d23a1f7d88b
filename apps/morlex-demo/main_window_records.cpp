#include "main_window.h"

#include <sqlite3.h>

#include <QLineEdit>
#include <QMessageBox>

#include "main_window_helpers.h"
#include "morlex/control/morlex_date.h"
#include "people_table.h"

namespace morlex::demo {

// Record navigation and the commands on the current record.

bool MainWindow::AskToLeave() {
  if (!editor_.Dirty()) return true;
  if (!options_.interactive) {
    Tell(QStringLiteral("The record has unsaved changes: save or revert them first."), true);
    return false;
  }
  const auto answer = QMessageBox::question(
      this, QStringLiteral("Unsaved changes"),
      QStringLiteral("The record has changes that are not saved."),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return SaveRecord();
  if (answer == QMessageBox::Discard) return RevertRecord();
  return false;
}

bool MainWindow::GoTo(Move move) {
  if (designing_ || !AskToLeave()) return false;
  bool moved = false;
  const bool ok = Guard(QStringLiteral("Could not move to the record"),
                        [&] { moved = editor_.Go(move, /*discard_edits=*/true); });
  if (ok) {
    Tell(moved ? QString::fromStdString(editor_.PositionText())
               : QStringLiteral("There is no record in that direction."),
         false);
  }
  RefreshNow();
  return ok && moved;
}

bool MainWindow::NewRecord() {
  if (designing_ || !AskToLeave()) return false;
  const bool ok = Guard(QStringLiteral("Could not add a record"), [&] { editor_.New(true); });
  if (ok) {
    Tell(QStringLiteral("New record: fill it in, then Save."), false);
    name_->setFocus(Qt::OtherFocusReason);
  }
  RefreshNow();
  return ok;
}

bool MainWindow::DeleteRecord() {
  if (designing_) return false;
  if (options_.interactive && editor_.HasRecord() && !editor_.IsNew() &&
      QMessageBox::question(
          this, QStringLiteral("Delete"),
          QStringLiteral("Delete %1 from the file?").arg(Q(editor_.Stored().name))) !=
          QMessageBox::Yes) {
    return false;
  }
  const bool ok = Guard(QStringLiteral("Could not delete the record"), [&] { editor_.Delete(); });
  if (ok) Tell(QStringLiteral("Deleted. ") + Q(editor_.PositionText()), false);
  if (ok) table_model_->Reload();
  RefreshNow();
  return ok;
}

bool MainWindow::SaveRecord() {
  if (designing_) return false;
  const bool ok = Guard(QStringLiteral("Could not save the record"), [&] { editor_.Save(); });
  if (ok) table_model_->Reload();
  if (ok) {
    Tell(QStringLiteral("Saved %1 (id %2) in one transaction.")
             .arg(Q(editor_.Buffer().name))
             .arg(editor_.Buffer().id),
         false);
  }
  RefreshNow();
  return ok;
}

bool MainWindow::SaveTableEdits() {
  const bool ok = table_model_->SavePending();
  if (ok) Tell(QStringLiteral("Every edit of the table is in the file."), false);
  RefreshNow();
  return ok;
}

bool MainWindow::RevertRecord() {
  if (designing_) return false;
  const bool ok = Guard(QStringLiteral("Could not revert"), [&] { editor_.Revert(); });
  if (ok) Tell(QStringLiteral("Edits discarded: the form shows the file's values."), false);
  RefreshNow();
  return ok;
}

bool MainWindow::HoldLock(bool hold) {
  if (hold == (lock_ != nullptr)) return true;
  if (!hold) {
    sqlite3_exec(lock_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(lock_);
    lock_ = nullptr;
    Log(QStringLiteral("The other connection let go of its lock."));
    return true;
  }
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(store_.Path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    Tell(QStringLiteral("Could not lock the file from another connection: %1")
             .arg(QString::fromUtf8(sqlite3_errmsg(db))),
         true);
    sqlite3_close(db);
    return false;
  }
  lock_ = db;
  Log(QStringLiteral("Another connection now holds a write transaction on the file."));
  return true;
}

}  // namespace morlex::demo
