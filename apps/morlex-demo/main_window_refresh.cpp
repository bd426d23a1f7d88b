#include "main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "main_window_helpers.h"
#include "morlex/control/morlex_date.h"
#include "morlex/qt/morlex_date_widget.h"
#include "people_table.h"

namespace morlex::demo {

// Bringing the banner, labels, states and buttons up to date.

void MainWindow::RefreshNow() {
  refresh_.stop();
  const bool has_record = editor_.HasRecord();
  const bool read_only = store_.ReadOnly();
  const bool dirty = editor_.Dirty();

  QStringList notes;
  QString colour = QStringLiteral("#e8f0fe");
  if (designing_) {
    notes << QStringLiteral(
        "Design mode (UserMode False): the fields are not bound to the "
        "file; what you change is their design, kept by Save design.");
    colour = QStringLiteral("#fff4d6");
  }
  if (read_only) {
    notes << QStringLiteral(
                 "Read-only: %1. CanChange(\"Text\") answers False; nothing can be "
                 "saved.")
                 .arg(Q(store_.Path()));
    colour = QStringLiteral("#fde2e1");
  } else if (!designing_) {
    notes << QStringLiteral("Database: %1").arg(Q(store_.Path()));
  }
  if (!has_record && !designing_) notes << QStringLiteral("No current record: use New.");
  if (lock_ != nullptr) {
    notes << QStringLiteral("Another connection holds a write lock on the file.");
    colour = QStringLiteral("#fde2e1");
  }
  const bool table_waits = table_model_->HasPending();
  if (table_waits) notes << QStringLiteral("The table holds edits that are not in the file yet.");
  save_table_->setEnabled(table_waits);
  discard_table_->setEnabled(table_waits);
  banner_->setText(notes.join(QStringLiteral("  ")));
  banner_->setStyleSheet(QStringLiteral("background:%1; border:1px solid #b0b8c8;").arg(colour));

  setWindowTitle(QStringLiteral("%1MorlexDate demo - people").arg(dirty ? "* " : ""));
  position_->setText(Q(editor_.PositionText()));
  record_box_->setTitle(designing_ ? QStringLiteral("Person (design)") : QStringLiteral("Person"));
  // A form designer's dotted grid behind the fields while designing.
  QPalette palette = record_box_->palette();
  palette.setBrush(QPalette::Window, designing_
                                         ? QBrush(QColor(0x9a, 0xa4, 0xb4), Qt::Dense7Pattern)
                                         : QPalette().brush(QPalette::Window));
  record_box_->setPalette(palette);
  record_box_->setAutoFillBackground(designing_);

  const bool editable = editor_.Editable() && !designing_;
  name_->setReadOnly(!editable);
  name_->setEnabled(!designing_);
  const bool new_record = editor_.IsNew();
  name_stored_->setText(has_record && !new_record ? Q(editor_.Stored().name) : QStringLiteral("-"));
  const bool name_changed = editor_.Buffer().name != editor_.Stored().name;
  name_state_->setText(name_changed ? QStringLiteral("changed, saved on Save") : QString());
  name_state_->setStyleSheet(QStringLiteral("color:#1a4fa0;"));

  for (const FieldRow& row : rows_) {
    const FieldBinding* binding = editor_.Binding(row.column);
    auto* pattern =
        record_box_->findChild<QLabel*>(QStringLiteral("pattern_%1").arg(Q(Info(row.column).name)));
    if (row.widget && pattern) {
      const std::u16string& p = row.widget->control().DatePattern();
      pattern->setText(p.empty() ? QStringLiteral("(none)") : Q(p));
    }
    const std::optional<std::string>& stored = editor_.Stored().DateText(row.column);
    row.stored->setText(!has_record || new_record ? QStringLiteral("-")
                                                  : (stored ? Q(*stored) : QStringLiteral("NULL")));
    QString text;
    QString style = QStringLiteral("color:#555;");
    if (designing_) {
      text = binding->DesignChanged() ? QStringLiteral("design changed") : QStringLiteral("design");
    } else if (has_record && !editor_.Editable() && binding->State() != FieldState::kShowsValue) {
      // CanChange said no: the field keeps what was typed, nothing more.
      text = QStringLiteral("kept in the field only: read-only");
      style = QStringLiteral("color:#b00020;");
    } else if (has_record) {
      switch (binding->State()) {
        case FieldState::kShowsValue:
          if (editor_.Buffer().DateText(row.column) != stored) {
            text = QStringLiteral("changed, saved on Save");
            style = QStringLiteral("color:#1a4fa0;");
          } else {
            text = QStringLiteral("as in the file");
          }
          break;
        case FieldState::kEditing:
          text = QStringLiteral("typing, not committed");
          style = QStringLiteral("color:#8a6d00;");
          break;
        case FieldState::kInvalid:
          text = QStringLiteral("not a date, not stored");
          style = QStringLiteral("color:#b00020; font-weight:bold;");
          break;
        case FieldState::kRefused:
          text = QStringLiteral("refused, not stored");
          style = QStringLiteral("color:#b00020; font-weight:bold;");
          break;
      }
    }
    row.state->setText(text);
    row.state->setStyleSheet(style);
  }

  const bool run = !designing_;
  for (int i = 0; i < 4; ++i) nav_[static_cast<std::size_t>(i)]->setEnabled(run);
  nav_[4]->setEnabled(run && !read_only);
  nav_[5]->setEnabled(run && has_record && !read_only);
  nav_[6]->setEnabled(run && has_record && !read_only);
  nav_[7]->setEnabled(run && dirty);

  // The panel shows what the field holds, whoever changed it (a locale
  // change, the scripted session).
  SyncPanel();
  syncing_panel_ = true;
  hold_lock_->setChecked(lock_ != nullptr);
  lock_action_->setChecked(lock_ != nullptr);
  syncing_panel_ = false;
}

}  // namespace morlex::demo
