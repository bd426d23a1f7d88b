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
  const auto& text = p.DateText(static_cast<DateColumn>(index.column() - kDateOffset));
  // NULL is a text column's null, as an SQL driver hands it out.
  return text ? QVariant(Q(*text)) : QVariant(QMetaType::fromType<QString>());
}

QVariant PeopleTable::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical)
    return QVariant::fromValue(static_cast<qlonglong>(IdAt(section)));
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
  Person& row = rows_[static_cast<std::size_t>(index.row())];
  const QString what = QStringLiteral("%1 of %2").arg(Q(Info(column).label), Q(row.name));
  try {
    if (!store_.Accepts(column, text)) {
      Q_EMIT failed(QStringLiteral("%1: %2 is outside the column's rule; the file is unchanged.")
                        .arg(what, text ? Q(*text) : QStringLiteral("NULL")));
      return false;
    }
    Person changed = store_.Load(row.id);
    changed.SetDateText(column, text);
    store_.Save(changed);
    row = changed;
  } catch (const Error& e) {
    Q_EMIT failed(QStringLiteral("Could not save %1: %2").arg(what, Q(e.description())));
    return false;
  }
  Q_EMIT dataChanged(index, index);
  Q_EMIT saved(row.id, QStringLiteral("Saved %1 from the table: %2")
                           .arg(what, text ? Q(*text) : QStringLiteral("NULL")));
  return true;
}

}  // namespace morlex::demo
