#include "main_window.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>

#include "main_window_helpers.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_layout.h"
#include "morlex/qt/morlex_date_widget.h"

namespace morlex::demo {
namespace {

std::uint32_t ToColorRef(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
         (static_cast<std::uint32_t>(c.blue()) << 16);
}

QColor FromColorRef(std::uint32_t ref) {
  return QColor(static_cast<int>(ref & 0xff), static_cast<int>((ref >> 8) & 0xff),
                static_cast<int>((ref >> 16) & 0xff));
}

constexpr std::uint32_t kWindowBackground = platform::kColorWindow;
constexpr std::uint32_t kWindowText = platform::kColorWindowText;

}  // namespace

// The properties panel: one field's properties changed at run time.

QWidget* MainWindow::BuildPanel() {
  auto* box = new QGroupBox(QStringLiteral("Field properties (run time)"));
  auto* form = new QFormLayout(box);

  panel_field_ = new QComboBox(box);
  for (DateColumn c : kDateColumns) panel_field_->addItem(Q(Info(c).label));
  form->addRow(QStringLiteral("Field"), panel_field_);
  connect(panel_field_, &QComboBox::currentIndexChanged, this, [this] { SyncPanel(); });

  panel_format_ = new QComboBox(box);
  panel_format_->addItems({QStringLiteral("0  mm/dd/yyyy"), QStringLiteral("1  mm/dd/yy"),
                           QStringLiteral("2  m/d/yyyy"), QStringLiteral("3  m/d/yy")});
  form->addRow(QStringLiteral("DateFormat"), panel_format_);
  connect(panel_format_, &QComboBox::activated, this,
          [this](int index) { SetFieldFormat(PanelColumn(), index); });

  // The orders the field knows, then the order of the field's locale (named
  // by SyncPanel, since the field's locale can change).
  panel_order_ = new QComboBox(box);
  for (const auto& order : kDateOrders) {
    panel_order_->addItem(QString::number(order.order) + QStringLiteral("  ") +
                          QString::fromStdU16String(std::u16string(order.words)));
  }
  panel_order_->addItem(QStringLiteral("the locale's"));
  form->addRow(QStringLiteral("DateOrder"), panel_order_);
  connect(panel_order_, &QComboBox::activated, this, [this](int index) {
    qt::MorlexDateWidget* w = Field(PanelColumn());
    if (w == nullptr) return;
    const bool by_locale = index >= static_cast<int>(kDateOrders.size());
    w->setLocaleOrder(by_locale);
    if (!by_locale) w->setDateOrder(index);
    SyncPanel();
    ScheduleRefresh();
  });

  panel_calendar_ = new QCheckBox(QStringLiteral("Calendar button"), box);
  panel_spin_ = new QCheckBox(QStringLiteral("Spin indicator"), box);
  panel_enabled_ = new QCheckBox(QStringLiteral("Enabled"), box);
  form->addRow(QString(), panel_calendar_);
  form->addRow(QString(), panel_spin_);
  form->addRow(QString(), panel_enabled_);
  connect(panel_calendar_, &QCheckBox::toggled, this, [this](bool on) {
    if (!syncing_panel_) SetFieldCalendar(PanelColumn(), on);
  });
  connect(panel_spin_, &QCheckBox::toggled, this, [this](bool on) {
    if (!syncing_panel_) SetFieldSpin(PanelColumn(), on);
  });
  connect(panel_enabled_, &QCheckBox::toggled, this, [this](bool on) {
    if (!syncing_panel_) SetFieldEnabled(PanelColumn(), on);
  });

  auto* colours = new QHBoxLayout;
  auto* back = new QPushButton(QStringLiteral("Back…"), box);
  auto* fore = new QPushButton(QStringLiteral("Text…"), box);
  auto* plain = new QPushButton(QStringLiteral("System"), box);
  for (QPushButton* b : {back, fore, plain}) {
    b->setAutoDefault(false);
    colours->addWidget(b);
  }
  form->addRow(QStringLiteral("Colours"), colours);
  auto pick = [this](bool background) {
    qt::MorlexDateWidget* w = Field(PanelColumn());
    if (w == nullptr) return;
    const std::uint32_t current = background ? w->backColorValue() : w->foreColorValue();
    const QColor start =
        (current & 0x80000000u) != 0 ? (background ? Qt::white : Qt::black) : FromColorRef(current);
    const QColor chosen = QColorDialog::getColor(start, this);
    if (!chosen.isValid()) return;
    SetFieldColors(PanelColumn(), background ? ToColorRef(chosen) : w->backColorValue(),
                   background ? w->foreColorValue() : ToColorRef(chosen));
  };
  connect(back, &QPushButton::clicked, this, [pick] { pick(true); });
  connect(fore, &QPushButton::clicked, this, [pick] { pick(false); });
  connect(plain, &QPushButton::clicked, this,
          [this] { SetFieldColors(PanelColumn(), kWindowBackground, kWindowText); });

  auto* font = new QPushButton(QStringLiteral("Font…"), box);
  font->setAutoDefault(false);
  form->addRow(QStringLiteral("Font"), font);
  connect(font, &QPushButton::clicked, this, [this] {
    qt::MorlexDateWidget* w = Field(PanelColumn());
    if (w == nullptr) return;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, w->textFont(), this);
    if (ok) SetFieldFont(PanelColumn(), chosen);
  });

  auto* design = new QHBoxLayout;
  auto* save_design = new QPushButton(QStringLiteral("Save design"), box);
  auto* reload_design = new QPushButton(QStringLiteral("Reload"), box);
  for (QPushButton* b : {save_design, reload_design}) {
    b->setAutoDefault(false);
    design->addWidget(b);
  }
  form->addRow(QStringLiteral("Design"), design);
  connect(save_design, &QPushButton::clicked, this, [this] { SaveDesign(); });
  connect(reload_design, &QPushButton::clicked, this, [this] { ReloadDesign(); });
  design_mode_ = new QCheckBox(QStringLiteral("Design mode (UserMode False)"), box);
  form->addRow(QString(), design_mode_);
  connect(design_mode_, &QCheckBox::toggled, this, [this](bool on) {
    if (syncing_panel_) return;
    if (!SetDesignMode(on)) {
      syncing_panel_ = true;
      design_mode_->setChecked(designing_);
      syncing_panel_ = false;
    }
  });
  hold_lock_ = new QCheckBox(QStringLiteral("Lock the file from another connection"), box);
  form->addRow(QStringLiteral("Trouble"), hold_lock_);
  connect(hold_lock_, &QCheckBox::toggled, this, [this](bool on) {
    if (syncing_panel_) return;
    HoldLock(on);
    ScheduleRefresh();
  });
  return box;
}

DateColumn MainWindow::PanelColumn() const {
  return kDateColumns[static_cast<std::size_t>(std::max(0, panel_field_->currentIndex()))];
}

void MainWindow::SelectPanelField(DateColumn column) {
  panel_field_->setCurrentIndex(static_cast<int>(column));
  SyncPanel();
}

bool MainWindow::SetFieldFormat(DateColumn column, int format) {
  const bool ok = Guard(QStringLiteral("Could not change DateFormat"),
                        [&] { editor_.Binding(column)->ApplyDateFormat(format); });
  SyncPanel();
  ScheduleRefresh();
  return ok;
}

bool MainWindow::SetFieldCalendar(DateColumn column, bool on) {
  if (Field(column) == nullptr) return false;
  Field(column)->setCalendar(on);
  SyncPanel();
  return Field(column)->calendar() == on;
}

bool MainWindow::SetFieldSpin(DateColumn column, bool on) {
  if (Field(column) == nullptr) return false;
  Field(column)->setSpin(on);
  SyncPanel();
  return Field(column)->spin() == on;
}

bool MainWindow::SetFieldEnabled(DateColumn column, bool on) {
  if (Field(column) == nullptr) return false;
  const bool ok = Guard(QStringLiteral("Could not change Enabled"),
                        [&] { Field(column)->control().SetEnabled(on); });
  SyncPanel();
  return ok;
}

bool MainWindow::SetFieldColors(DateColumn column, std::uint32_t back, std::uint32_t fore) {
  qt::MorlexDateWidget* w = Field(column);
  if (w == nullptr) return false;
  w->setBackColorValue(back);
  w->setForeColorValue(fore);
  return w->backColorValue() == back && w->foreColorValue() == fore;
}

bool MainWindow::SetFieldFont(DateColumn column, const QFont& font) {
  qt::MorlexDateWidget* w = Field(column);
  if (w == nullptr) return false;
  w->setTextFont(font);
  return true;
}

void MainWindow::SyncPanel() {
  qt::MorlexDateWidget* w = Field(PanelColumn());
  if (w == nullptr) return;
  syncing_panel_ = true;
  panel_format_->setCurrentIndex(static_cast<int>(w->dateFormat()));
  // The order in force, also when it follows the field's locale: then the
  // last choice names that locale and the order it gives.
  const int by_locale = static_cast<int>(kDateOrders.size());
  panel_order_->setItemText(
      by_locale, QStringLiteral("the locale's (%1: %2)")
                     .arg(w->locale().name(), QString::fromStdU16String(std::u16string(OrderWords(
                                                  static_cast<DateOrder>(w->dateOrder()))))));
  panel_order_->setCurrentIndex(w->localeOrder() ? by_locale : static_cast<int>(w->dateOrder()));
  panel_calendar_->setChecked(w->calendar());
  panel_spin_->setChecked(w->spin());
  panel_enabled_->setChecked(w->control().Enabled());
  syncing_panel_ = false;
}

void MainWindow::ShowAbout() {
  if (qt::MorlexDateWidget* w = Field(PanelColumn())) w->aboutBox();
}

}  // namespace morlex::demo
