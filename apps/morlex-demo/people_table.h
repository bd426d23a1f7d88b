#pragma once
// Every row of "people" as a Qt item model, for a table that shows them all
// and edits their dates in place (through MorlexDateDelegate). Dates are
// handed out as the file holds them: ISO text, NULL, or whatever another
// program wrote. An edit is saved at once through the same store and the
// same rules as the record form: the column's CHECK rule first, then one
// transaction that the table's cross-column rules may still refuse.
//
// An edit whose save fails (the file is locked or read-only, a rule refuses
// it) is not lost: the table keeps it and shows it in place of the file's
// value, marks its row, and saves it with the row's next edit or by
// SavePending once the cause is gone. The file keeps its last good state
// meanwhile.
#include <QAbstractTableModel>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "record_store.h"

namespace morlex::demo {

class PeopleTable : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Column 0 is the name, 1 + the DateColumn a date.
  static constexpr int kDateOffset = 1;

  explicit PeopleTable(RecordStore& store, QObject* parent = nullptr);

  // Reads every row again (after the form saved or deleted one); edits not
  // yet saved stay.
  void Reload();
  // Whether an edit waits to be saved.
  bool HasPending() const { return !pending_.empty(); }
  // Saves every waiting edit, row by row; true when none is left. An edit of
  // a row that is gone from the file is dropped, with a message.
  bool SavePending();
  // Forgets the waiting edits: the table shows the file again.
  void DiscardPending();
  std::int64_t IdAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 Q_SIGNALS:
  // A date was saved into the file.
  void saved(qint64 id, const QString& message);
  // A date was refused by a rule or the save failed; the file is unchanged.
  void failed(const QString& message);

 private:
  using Key = std::pair<std::int64_t, DateColumn>;
  // Saves the row's waiting edits; on failure keeps them and says why.
  bool SaveRow(std::int64_t id, const QString& what);
  int RowOf(std::int64_t id) const;

  RecordStore& store_;
  std::vector<Person> rows_;
  // Edits not in the file yet: ISO text or NULL, by row id and column.
  std::map<Key, std::optional<std::string>> pending_;
};

}  // namespace morlex::demo
