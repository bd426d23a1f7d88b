#pragma once
// The demo's record form: a "people" row with its name and three MorlexDate
// fields bound to the date columns, record navigation, a panel that changes
// the fields' properties at run time, an event log of everything the fields
// raise and notify, and the fields' design kept in property-bag files.
//
// Every command returns whether it succeeded; a failure is shown in the
// status line and the log (and in a message box when interactive), never
// thrown into Qt's event loop.

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "record_editor.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QAction;
class QTableView;
struct sqlite3;

namespace morlex::platform {
class Clock;
class PropertyBag;
}  // namespace morlex::platform

namespace morlex::qt {
class MorlexDateWidget;
class Toolkit;
}  // namespace morlex::qt

namespace morlex::demo {

struct WindowOptions {
  // Where the fields' design (one property-bag file per field) is kept.
  std::filesystem::path design_dir;
  // "Today" for the fields; nullptr: the system clock.
  const platform::Clock* clock = nullptr;
  // Failures and questions in message boxes (off for a scripted session).
  bool interactive = true;
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(RecordStore& store, WindowOptions options, QWidget* parent = nullptr);
  ~MainWindow() override;

  RecordEditor& Editor() { return editor_; }
  qt::MorlexDateWidget* Field(DateColumn column) const;
  qt::Toolkit& FieldToolkit() { return *toolkit_; }
  QLineEdit* NameEdit() const { return name_; }
  // The table of every record, its dates edited in place.
  QTableView* Table() const { return table_; }
  // The last message the status line showed.
  QString LastMessage() const { return last_message_; }
  bool Designing() const { return designing_; }
  bool HoldingLock() const { return lock_ != nullptr; }

  // Every line of the event log, as it is added.
  std::function<void(const QString&)> on_log;

  // --- Commands ---
  bool GoTo(Move move);
  bool NewRecord();
  bool DeleteRecord();
  bool SaveRecord();
  bool RevertRecord();
  // Saves the table's edits that a failed save left waiting.
  bool SaveTableEdits();
  bool SaveDesign();
  bool ReloadDesign();
  bool SetDesignMode(bool designing);
  void ShowAbout();
  // Holds a write transaction on a second connection, as another program
  // that keeps the database locked would.
  bool HoldLock(bool hold);

  // --- The properties panel, for one field ---
  bool SetFieldFormat(DateColumn column, int format);
  bool SetFieldCalendar(DateColumn column, bool on);
  bool SetFieldSpin(DateColumn column, bool on);
  bool SetFieldEnabled(DateColumn column, bool on);
  // Colours as 0x00BBGGRR or a system colour reference (0x800000nn).
  bool SetFieldColors(DateColumn column, std::uint32_t back, std::uint32_t fore);
  bool SetFieldFont(DateColumn column, const QFont& font);
  void SelectPanelField(DateColumn column);

  // Brings every label, button and state up to date now (normally deferred
  // to the next turn of the event loop).
  void RefreshNow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct FieldRow {
    DateColumn column;
    QPointer<qt::MorlexDateWidget> widget;
    QLabel* label = nullptr;
    QLabel* stored = nullptr;
    QLabel* state = nullptr;
  };

  void BuildUi();
  void BuildMenus();
  QWidget* BuildPanel();
  QWidget* BuildTable(QWidget* parent);
  void CreateField(FieldRow& row, platform::PropertyBag* bag);
  void DestroyField(FieldRow& row);
  void RecreateFields(bool designing);
  bool Guard(const QString& doing, const std::function<void()>& action);
  bool AskToLeave();
  void Log(const QString& line);
  void Tell(const QString& message, bool failure);
  void ScheduleRefresh();
  void SyncPanel();
  DateColumn PanelColumn() const;

  RecordStore& store_;
  WindowOptions options_;
  RecordEditor editor_;
  std::unique_ptr<qt::Toolkit> toolkit_;
  std::array<FieldRow, 3> rows_;
  bool designing_ = false;
  bool syncing_panel_ = false;
  sqlite3* lock_ = nullptr;
  QString last_message_;
  QTimer refresh_;

  QLabel* banner_ = nullptr;
  class PeopleTable* table_model_ = nullptr;
  QTableView* table_ = nullptr;
  QGroupBox* record_box_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLabel* name_stored_ = nullptr;
  QLabel* name_state_ = nullptr;
  QLabel* position_ = nullptr;
  QPlainTextEdit* log_ = nullptr;
  std::array<QPushButton*, 8> nav_{};
  QPushButton* save_table_ = nullptr;
  QPushButton* discard_table_ = nullptr;
  QComboBox* panel_field_ = nullptr;
  QComboBox* panel_format_ = nullptr;
  QCheckBox* panel_calendar_ = nullptr;
  QCheckBox* panel_spin_ = nullptr;
  QCheckBox* panel_enabled_ = nullptr;
  QCheckBox* design_mode_ = nullptr;
  QCheckBox* hold_lock_ = nullptr;
  QAction* design_action_ = nullptr;
  QAction* lock_action_ = nullptr;
};

}  // namespace morlex::demo
