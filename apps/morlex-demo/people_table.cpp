#include "people_table.h"

#include <QDate>
#include <optional>
#include <string>

namespace morlex::demo {
namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PeopleTable::PeopleTable(RecordStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {
  Reload();
}

void PeopleTable::Reload() {
  beginResetModel();
  rows_.clear();
  try {
    for (std::int64_t id : store_.Ids()) rows_.push_back(store_.Load(id));
  } catch (const Error& e) {
    rows_.clear();
    Q_EMIT failed(Q(e.description()));
  }
  endResetModel();
}

std::int64_t PeopleTable::IdAt(int row) const {
  return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].id : 0;
}

int PeopleTable::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PeopleTable::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kDateOffset + static_cast<int>(kDateColumns.size());
}

QVariant PeopleTable::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  const Person& p = rows_[static_cast<std::size_t>(index.row())];
  if (index.column() < kDateOffset) return Q(p.name);
  const auto column = static_cast<DateColumn>(index.column() - kDateOffset);
  const auto waiting = pending_.find({p.id, column});
  const auto& text = waiting != pending_.end() ? waiting->second : p.DateText(column);
  // NULL is a text column's null, as an SQL driver hands it out.
  return text ? QVariant(Q(*text)) : QVariant(QMetaType::fromType<QString>());
}

QVariant PeopleTable::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) {
    // A row with edits that are not in the file yet is marked.
    const std::int64_t id = IdAt(section);
    const auto first = pending_.lower_bound({id, DateColumn::kBorn});
    if (first != pending_.end() && first->first.first == id) {
      return QStringLiteral("%1 *").arg(static_cast<qlonglong>(id));
    }
    return QVariant::fromValue(static_cast<qlonglong>(id));
  }
  if (section < kDateOffset) return QStringLiteral("Name");
  return Q(Info(static_cast<DateColumn>(section - kDateOffset)).label);
}

Qt::ItemFlags PeopleTable::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() >= kDateOffset && !store_.ReadOnly()) {
    flags |= Qt::ItemIsEditable;
  }
  return flags;
}

bool PeopleTable::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || index.column() < kDateOffset) return false;
  const auto column = static_cast<DateColumn>(index.column() - kDateOffset);
  std::optional<std::string> text;
  if (value.metaType().id() == QMetaType::QDate) {
    const QDate d = value.toDate();
    text = ToIso(Date{d.year(), d.month(), d.day()});
  } else if (!value.isNull() && !value.toString().isEmpty()) {
    text = value.toString().toStdString();
  }
  const Person& row = rows_[static_cast<std::size_t>(index.row())];
  pending_[{row.id, column}] = text;
  Q_EMIT dataChanged(index, index);
  Q_EMIT headerDataChanged(Qt::Vertical, index.row(), index.row());
  SaveRow(row.id,
          QStringLiteral("%1 of %2: %3")
              .arg(Q(Info(column).label), Q(row.name), text ? Q(*text) : QStringLiteral("NULL")));
  // The table holds the value either way: saved, or waiting to be.
  return true;
}

bool PeopleTable::SaveRow(std::int64_t id, const QString& what) {
  const auto first = pending_.lower_bound({id, DateColumn::kBorn});
  auto last = first;
  while (last != pending_.end() && last->first.first == id) ++last;
  if (first == last) return true;
  const int at = RowOf(id);
  try {
    Person changed = store_.Load(id);
    for (auto it = first; it != last; ++it) {
      const DateColumn column = it->first.second;
      if (!store_.Accepts(column, it->second)) {
        Q_EMIT failed(QStringLiteral("%1: %2 is outside the column's rule; the file is unchanged, "
                                     "the table keeps the edit.")
                          .arg(what, it->second ? Q(*it->second) : QStringLiteral("NULL")));
        return false;
      }
      changed.SetDateText(column, it->second);
    }
    store_.Save(changed);
    pending_.erase(first, last);
    if (at >= 0) {
      rows_[static_cast<std::size_t>(at)] = changed;
      Q_EMIT dataChanged(index(at, kDateOffset), index(at, columnCount() - 1));
      Q_EMIT headerDataChanged(Qt::Vertical, at, at);
    }
    Q_EMIT saved(id, QStringLiteral("Saved %1 from the table").arg(what));
    return true;
  } catch (const StoreError& e) {
    if (e.kind() == StoreFailure::kNoRecord) {
      pending_.erase(first, last);  // nothing left to save it into
      if (at >= 0) Q_EMIT headerDataChanged(Qt::Vertical, at, at);
      Q_EMIT failed(QStringLiteral("Could not save %1: the record is gone (%2)")
                        .arg(what, Q(e.description())));
      return false;
    }
    Q_EMIT failed(QStringLiteral("Could not save %1. %2 The table keeps the edit: save it again "
                                 "once the cause is gone.")
                      .arg(what, Q(e.description())));
  } catch (const Error& e) {
    Q_EMIT failed(QStringLiteral("Could not save %1. %2 The table keeps the edit.")
                      .arg(what, Q(e.description())));
  }
  return false;
}

bool PeopleTable::SavePending() {
  std::vector<std::int64_t> ids;
  for (const auto& [key, text] : pending_) {
    if (ids.empty() || ids.back() != key.first) ids.push_back(key.first);
  }
  for (std::int64_t id : ids) {
    SaveRow(id, QStringLiteral("the table's edits of record %1").arg(static_cast<qlonglong>(id)));
  }
  return pending_.empty();
}

void PeopleTable::DiscardPending() {
  beginResetModel();
  pending_.clear();
  endResetModel();
}

int PeopleTable::RowOf(std::int64_t id) const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace morlex::demo
