#pragma once
// SubmitAllOrNothing: QSqlTableModel::submitAll in one transaction, and
// nothing lost when it fails.
//
// submitAll writes the pending rows one by one and marks each as submitted
// once its statement ran. When a later row fails (the database is locked,
// the file is read-only, a CHECK refuses a value), the rows before it are in
// the file, and a rollback takes them out again while the model still counts
// them as stored: a second submitAll skips them, and their edits are lost.
// This routine runs submitAll inside a transaction; on any failure it rolls
// back, reads the table again and puts every pending change back into the
// model, so that the file keeps its last good state, the model every edit,
// and the next call stores them all.
//
//   people->setEditStrategy(QSqlTableModel::OnManualSubmit);
//   ...
//   QSqlError error;
//   if (!morlex::qt::SubmitAllOrNothing(*people, &error))
//     status->setText(error.text());  // try again once the cause is gone
//
// Like submitAll it reads the table again (also after a success), so a
// QDataWidgetMapper's current row is set again afterwards. Pending changes
// are put back by row: inserted rows where they were, deleted rows marked
// again. Header-only, so that the widget library itself needs no Qt Sql;
// a program that includes it links Qt6::Sql.
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QVariant>
#include <vector>

namespace morlex::qt {

namespace sql_submit_detail {

// A row of the model with changes not yet in the file.
struct PendingRow {
  enum class Kind { kUpdate, kInsert, kDelete } kind = Kind::kUpdate;
  int row = 0;
  // The changed fields (all generated fields of an inserted row) and their
  // values.
  std::vector<std::pair<int, QVariant>> fields;
};

inline std::vector<PendingRow> Pending(const QSqlTableModel& model) {
  std::vector<PendingRow> pending;
  for (int row = 0; row < model.rowCount(); ++row) {
    // The model marks inserted rows "*" and deleted ones "!".
    const QString mark = model.headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
    PendingRow p;
    p.row = row;
    if (mark == QLatin1String("!")) {
      p.kind = PendingRow::Kind::kDelete;
      pending.push_back(p);
      continue;
    }
    const bool inserted = mark == QLatin1String("*");
    const QSqlRecord record = model.record(row);
    for (int column = 0; column < model.columnCount(); ++column) {
      const bool changed =
          inserted ? record.isGenerated(column) : model.isDirty(model.index(row, column));
      if (changed) p.fields.emplace_back(column, record.value(column));
    }
    if (!inserted && p.fields.empty()) continue;
    p.kind = inserted ? PendingRow::Kind::kInsert : PendingRow::Kind::kUpdate;
    pending.push_back(std::move(p));
  }
  return pending;
}

// Puts the changes back into a model that has just read the table again.
inline void Restore(QSqlTableModel& model, const std::vector<PendingRow>& pending) {
  for (const PendingRow& p : pending) {
    switch (p.kind) {
      case PendingRow::Kind::kDelete:
        model.removeRow(p.row);
        break;
      case PendingRow::Kind::kInsert:
        model.insertRow(p.row);
        [[fallthrough]];
      case PendingRow::Kind::kUpdate:
        for (const auto& [column, value] : p.fields) {
          model.setData(model.index(p.row, column), value, Qt::EditRole);
        }
        break;
    }
  }
}

}  // namespace sql_submit_detail

// Submits every pending change of model (OnManualSubmit) in one transaction.
// True when all reached the file; false when none did: the model then holds
// every change still, and error (if given) says why.
inline bool SubmitAllOrNothing(QSqlTableModel& model, QSqlError* error = nullptr) {
  QSqlDatabase db = model.database();
  if (!db.driver()->hasFeature(QSqlDriver::Transactions)) {
    const bool ok = model.submitAll();
    if (!ok && error != nullptr) *error = model.lastError();
    return ok;
  }
  const std::vector<sql_submit_detail::PendingRow> pending = sql_submit_detail::Pending(model);
  if (!db.transaction()) {
    if (error != nullptr) *error = db.lastError();
    return false;
  }
  // submitAll reads the table again at its end, inside the transaction.
  QSqlError failure;
  if (model.submitAll()) {
    if (db.commit()) return true;
    failure = db.lastError();
  } else {
    failure = model.lastError();
  }
  db.rollback();
  // Forget what the model thinks it stored, and give it back every change.
  model.select();
  sql_submit_detail::Restore(model, pending);
  if (error != nullptr) *error = failure;
  return false;
}

}  // namespace morlex::qt
