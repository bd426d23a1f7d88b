#include "main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "form_design.h"
#include "main_window_helpers.h"
#include "morlex/control/morlex_date.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "morlex/storage/property_bag_file.h"

namespace morlex::demo {

// The fields: made, bound and unbound, their design saved and loaded, and
// design mode.

void MainWindow::CreateField(FieldRow& row, platform::PropertyBag* bag) {
  FieldBinding& binding = editor_.Bind(row.column);
  const QString name = Q(Info(row.column).name);
  auto* w = new qt::MorlexDateWidget(*toolkit_, qt::MorlexDateWidget::Startup::kHostInitialises,
                                     record_box_);
  w->setObjectName(QStringLiteral("field_%1").arg(name));
  w->setClock(options_.clock);
  w->setUserMode(!designing_);
  if (bag != nullptr) {
    w->readProperties(*bag);
  } else {
    w->initProperties();
    // The host's first size for a new field; the layout pass follows.
    w->resizeTwips(MorlexDate::kDefaultWidth, MorlexDate::kDefaultHeight);
    w->setDateFormat(StartFormat(row.column));
    w->setDataField(name);
    w->setToolTipText(QStringLiteral("%1: month/day/year").arg(Q(Info(row.column).label)));
  }
  w->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  // The data binding: the field asks and tells; the binding decides.
  w->setCanChangeHandler([this, &binding](const QString& key) {
    const bool can = binding.CanChange(key.toStdString());
    if (!can) {
      Log(QStringLiteral("[%1] CanChange(%2) -> False: %3")
              .arg(Q(Info(binding.Column()).name), key, Q(editor_.WhyNotEditable())));
    }
    return can;
  });
  w->setNotifyChangedHandler(
      [&binding](const QString& key) { binding.NotifyChanged(key.toStdString()); });
  binding.on_notice = [this](const Notice& n) {
    Log(QStringLiteral("[%1] %2").arg(Q(Info(n.column).name),
                                      Q(Describe(n).substr(Info(n.column).name.size() + 2))));
    ScheduleRefresh();
  };
  binding.SetDesignMode(designing_);
  binding.Attach(&w->control());

  const QString tag = QStringLiteral("[%1] ").arg(name);
  const QString label = Q(Info(row.column).label);
  connect(w, &qt::MorlexDateWidget::textChanged, this, [this, w, tag] {  // the DateChanged event
    Log(tag + QStringLiteral("DateChanged \"%1\"").arg(w->text()));
    ScheduleRefresh();
  });
  connect(w, &qt::MorlexDateWidget::dateInvalid, this, [this, w, tag, label] {
    Log(tag + QStringLiteral("DateInvalid \"%1\"").arg(w->text()));
    Tell(QStringLiteral("%1: \"%2\" is not a date; it is kept in the field but not stored.")
             .arg(label, w->text()),
         true);
    ScheduleRefresh();
  });
  connect(
      w, &qt::MorlexDateWidget::dateError, this,
      [this, tag, label](const QString& source, const QString& description, const QString& custom) {
        Log(tag + QStringLiteral("DateError source=%1 custom=\"%2\" error=\"%3\"")
                      .arg(source, custom, description));
        Tell(QStringLiteral("%1: %2 %3").arg(label, custom, description), true);
        ScheduleRefresh();
      });
  connect(w, &qt::MorlexDateWidget::clicked, this, [this, tag] { Log(tag + "Click"); });
  connect(w, &qt::MorlexDateWidget::doubleClicked, this, [this, tag] { Log(tag + "DblClick"); });

  auto* grid = static_cast<QGridLayout*>(record_box_->layout());
  grid->addWidget(w, static_cast<int>(row.column) + 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
  row.label->setBuddy(w);
  row.widget = w;
  w->show();
}

void MainWindow::DestroyField(FieldRow& row) {
  qt::MorlexDateWidget* w = row.widget;
  if (w == nullptr) return;
  w->setCanChangeHandler({});
  w->setNotifyChangedHandler({});
  if (FieldBinding* binding = editor_.Binding(row.column)) {
    binding->Attach(nullptr);
    binding->on_notice = nullptr;
  }
  row.widget = nullptr;
  delete w;
}

void MainWindow::RecreateFields(bool designing) {
  std::array<storage::FilePropertyBag, 3> bags;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].widget) rows_[i].widget->writeProperties(bags[i]);
  }
  designing_ = designing;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    DestroyField(rows_[i]);
    CreateField(rows_[i], &bags[i]);
  }
  // Back at run time, the fields show the record again.
  if (!designing_) {
    for (const FieldRow& row : rows_) editor_.Binding(row.column)->Show();
  }
}

bool MainWindow::SaveDesign() {
  const bool ok = Guard(QStringLiteral("Could not save the design"), [&] {
    if (options_.design_dir.empty()) throw Error(errnum::kFileFailure, "No design folder is set.");
    for (const FieldRow& row : rows_) {
      SaveFieldDesign(options_.design_dir, row.column, row.widget->control());
    }
    for (const FieldRow& row : rows_) editor_.Binding(row.column)->ClearDesignChanged();
  });
  if (ok) {
    Tell(QStringLiteral("Saved the fields' design (WriteProperties) to %1")
             .arg(Q(options_.design_dir.string())),
         false);
  }
  RefreshNow();
  return ok;
}

bool MainWindow::ReloadDesign() {
  if (!designing_ && !AskToLeave()) return false;
  const bool ok = Guard(QStringLiteral("Could not load the design"), [&] {
    if (!HasFormDesign(options_.design_dir)) {
      throw Error(errnum::kFileFailure,
                  "There is no saved design in " + options_.design_dir.string() + ".");
    }
    std::array<std::optional<storage::FilePropertyBag>, 3> bags;
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      bags[i] = LoadFieldDesign(options_.design_dir, rows_[i].column, problems);
    }
    for (const std::string& p : problems) Log(QStringLiteral("Design file %1").arg(Q(p)));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      DestroyField(rows_[i]);
      CreateField(rows_[i], bags[i] ? &*bags[i] : nullptr);
    }
    if (!designing_) {
      for (const FieldRow& row : rows_) editor_.Binding(row.column)->Show();
    }
  });
  if (ok) {
    Tell(QStringLiteral("Loaded the fields' design (ReadProperties) from %1")
             .arg(Q(options_.design_dir.string())),
         false);
  }
  SyncPanel();
  RefreshNow();
  return ok;
}

bool MainWindow::SetDesignMode(bool designing) {
  if (designing == designing_) return true;
  if (designing && !AskToLeave()) return false;
  const bool ok =
      Guard(QStringLiteral("Could not switch the mode"), [&] { RecreateFields(designing); });
  if (ok) {
    Tell(designing ? QStringLiteral("Design mode: UserMode is False, the fields are not bound "
                                    "to data; their settings are the design.")
                   : QStringLiteral("Run mode: UserMode is True, the fields are bound again."),
         false);
  }
  syncing_panel_ = true;
  design_mode_->setChecked(designing_);
  design_action_->setChecked(designing_);
  syncing_panel_ = false;
  SyncPanel();
  RefreshNow();
  return ok;
}

}  // namespace morlex::demo
