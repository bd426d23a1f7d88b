#include "main_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "main_window_helpers.h"
#include "morlex/control/morlex_date.h"
#include "morlex/qt/morlex_date_delegate.h"
#include "people_table.h"

namespace morlex::demo {

// The table of every record, beside the form.

QWidget* MainWindow::BuildTable(QWidget* parent) {
  // Every record, its dates edited in place by the field itself and saved
  // at once through the same store and rules as the form.
  auto* table_box =
      new QGroupBox(QStringLiteral("All records (double-click a date to edit it)"), parent);
  auto* table_layout = new QVBoxLayout(table_box);
  table_model_ = new PeopleTable(store_, this);
  table_ = new QTableView(table_box);
  table_->setObjectName(QStringLiteral("records"));
  table_->setModel(table_model_);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  for (DateColumn c : kDateColumns) {
    auto* dates = new qt::MorlexDateDelegate(table_);
    dates->setDateFormat(StartFormat(c));
    const DateColumnInfo& info = Info(c);
    dates->setDateRange(QDate(info.low.year, info.low.month, info.low.day),
                        QDate(info.high.year, info.high.month, info.high.day));
    table_->setItemDelegateForColumn(PeopleTable::kDateOffset + static_cast<int>(c), dates);
  }
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->verticalHeader()->setDefaultSectionSize(26);
  table_layout->addWidget(table_);
  // Edits whose save failed wait in the table (their rows marked "*").
  auto* table_buttons = new QHBoxLayout;
  save_table_ = new QPushButton(QStringLiteral("Save table edits"), table_box);
  discard_table_ = new QPushButton(QStringLiteral("Discard table edits"), table_box);
  table_buttons->addWidget(save_table_);
  table_buttons->addWidget(discard_table_);
  table_buttons->addStretch(1);
  table_layout->addLayout(table_buttons);
  connect(save_table_, &QPushButton::clicked, this, [this] { SaveTableEdits(); });
  connect(discard_table_, &QPushButton::clicked, this, [this] {
    table_model_->DiscardPending();
    Tell(QStringLiteral("The table's unsaved edits were discarded."), false);
    RefreshNow();
  });

  connect(table_model_, &PeopleTable::saved, this, [this](qint64 id, const QString& message) {
    Tell(message, false);
    // The form shows the saved value too, unless it holds edits of its own.
    if (editor_.HasRecord() && editor_.Buffer().id == id && !editor_.Dirty()) {
      Guard(QStringLiteral("Could not read the record again"), [&] { editor_.GoTo(id, true); });
    }
    ScheduleRefresh();
  });
  connect(table_model_, &PeopleTable::failed, this, [this](const QString& message) {
    Tell(message, true);
    ScheduleRefresh();
  });
  return table_box;
}

}  // namespace morlex::demo
