// The field and its forms as screen readers see them, through Qt's
// accessibility interfaces. Qt's own interfaces serve the line edits, push
// buttons and labels; the factory below adds what Qt cannot know: the field
// as a whole with its drawn arrows and calendar button, the day grid as a
// table of dated cells, and the forms' up-downs. Qt asks its own factory
// first, by class name: the widgets served here are classes of their own.
#include "accessibility_p.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>
#include <vector>

#include "drawn_parts_p.h"
#include "label_p.h"
#include "morlex/core/date_layout.h"
#include "morlex/core/error.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_widget.h"
#include "picture_box_p.h"
#include "surface_p.h"
#include "text_box_p.h"
#include "up_down_p.h"

namespace morlex::qt::detail {
namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("MorlexDateAccessibility", text);
}

// --- The day grid ------------------------------------------------------------------

// The day cells of an area, by their index; empty when no cell of it names a
// day (the area is then no day grid).
std::vector<CellLabel*> DayCells(const QWidget& area) {
  std::vector<CellLabel*> cells;
  bool dated = false;
  for (QObject* child : area.children()) {
    if (auto* cell = dynamic_cast<CellLabel*>(child)) {
      cells.push_back(cell);
      dated = dated || cell->Owner().Day().has_value();
    }
  }
  if (!dated) return {};
  std::sort(cells.begin(), cells.end(), [](const CellLabel* a, const CellLabel* b) {
    return a->Owner().Index() < b->Owner().Index();
  });
  return cells;
}

constexpr int kColumns = 7;

// Whether a label is a cell of a day grid (a dated one or a blank one).
bool InDayGrid(const QWidget& label) {
  const QWidget* area = label.parentWidget();
  return area != nullptr && !DayCells(*area).empty();
}

// The weekday headings above the grid; the first names Sunday.
constexpr std::string_view kHeadingName = "lblDayName";

bool IsWeekdayHeading(const CellLabel& label) {
  return label.Owner().Name() == kHeadingName;
}

// The full name of a column's weekday, in the grid's language. The week may
// start on any day: a dated cell of the column tells its weekday, and only a
// grid with none counts from Sunday.
QString WeekdayOfColumn(const QWidget& widget, int column) {
  if (column < 0 || column >= kColumns) return {};
  int qt_day = column == 0 ? 7 : column;
  for (const CellLabel* cell : widget.window()->findChildren<CellLabel*>()) {
    const auto& day = cell->Owner().Day();
    if (day && cell->Owner().Index() % kColumns == column) {
      qt_day = QDate(day->year, day->month, day->day).dayOfWeek();
      break;
    }
  }
  return widget.locale().dayName(qt_day, QLocale::LongFormat);
}

// The heading of a column of the grid that area holds, or nullptr.
CellLabel* HeadingOfColumn(const QWidget& area, int column) {
  for (CellLabel* label : area.window()->findChildren<CellLabel*>()) {
    if (IsWeekdayHeading(*label) && label->Owner().Index() == column) return label;
  }
  return nullptr;
}

// Every label of the toolkit: a plain text, or a cell of a day grid. Qt
// caches an interface from the first time anything asks (even before a
// grid is filled), so one interface serves both and decides each time.
class CellAccessible final : public QAccessibleWidget, public QAccessibleTableCellInterface {
 public:
  explicit CellAccessible(CellLabel* cell) : QAccessibleWidget(cell, QAccessible::StaticText) {}

  QAccessible::Role role() const override {
    if (IsWeekdayHeading(Cell())) return QAccessible::ColumnHeader;
    return InDayGrid(*widget()) ? QAccessible::Cell : QAccessible::StaticText;
  }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
    // A heading shows a short name where the full one may not fit; a screen
    // reader says the full one.
    if (IsWeekdayHeading(Cell())) return WeekdayOfColumn(*widget(), Cell().Owner().Index());
    if (!InDayGrid(*widget())) return Cell().text();
    const auto& day = Cell().Owner().Day();
    if (!day) return {};
    // The date in the user's words: "Monday, March 15, 1999" in English.
    return widget()->locale().toString(QDate(day->year, day->month, day->day), QLocale::LongFormat);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    if (!InDayGrid(*widget())) return s;
    const Label& owner = Cell().Owner();
    const bool day = owner.Enabled() && owner.Day().has_value();
    s.selectable = day;
    s.focusable = day;
    s.selected = owner.Bordered();
    const QWidget* grid = widget()->parentWidget();
    s.focused = owner.Bordered() && grid != nullptr && grid->hasFocus();
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableCellInterface && InDayGrid(*widget())) {
      return static_cast<QAccessibleTableCellInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
  }

  // Picking a day is what a click on it does.
  QStringList actionNames() const override {
    if (!InDayGrid(*widget()) || !state().selectable) return {};
    return {pressAction()};
  }
  void doAction(const QString& name) override {
    if (name != pressAction() || !InDayGrid(*widget()) || !state().selectable) return;
    Label& owner = Cell().Owner();
    Guarded([&] { CallHandler(owner.events.Click, owner.Index()); });
  }

  // The colours the label is drawn in, not the palette it inherits.
  QColor foregroundColor() const override {
    return Cell().Colours().color(Cell().foregroundRole());
  }
  QColor backgroundColor() const override {
    return Cell().Colours().color(Cell().backgroundRole());
  }

  bool isSelected() const override { return Cell().Owner().Bordered(); }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    const QWidget* area = widget()->parentWidget();
    CellLabel* heading = area != nullptr ? HeadingOfColumn(*area, columnIndex()) : nullptr;
    if (heading == nullptr) return {};
    return {QAccessible::queryAccessibleInterface(heading)};
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return Cell().Owner().Index() % kColumns; }
  int rowIndex() const override { return Cell().Owner().Index() / kColumns; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override {
    return QAccessible::queryAccessibleInterface(widget()->parentWidget());
  }

 private:
  CellLabel& Cell() const { return *static_cast<CellLabel*>(widget()); }
};

// Every picture box: a plain area, or a day grid, decided each time as for
// the labels.
class GridAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit GridAccessible(QWidget* area) : QAccessibleWidget(area, QAccessible::Border) {}

  QAccessible::Role role() const override {
    return DayCells(*widget()).empty() ? QAccessible::Border : QAccessible::Table;
  }

  int childCount() const override {
    const auto cells = DayCells(*widget());
    return cells.empty() ? QAccessibleWidget::childCount() : static_cast<int>(cells.size());
  }
  QAccessibleInterface* child(int index) const override {
    const auto cells = DayCells(*widget());
    if (cells.empty()) return QAccessibleWidget::child(index);
    if (index < 0 || index >= static_cast<int>(cells.size())) return nullptr;
    return QAccessible::queryAccessibleInterface(cells[static_cast<std::size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto cells = DayCells(*widget());
    if (cells.empty()) return QAccessibleWidget::indexOfChild(child);
    const auto it = std::find(cells.begin(), cells.end(), child->object());
    return it == cells.end() ? -1 : static_cast<int>(it - cells.begin());
  }
  QAccessibleInterface* focusChild() const override {
    if (!widget()->hasFocus() || DayCells(*widget()).empty()) return nullptr;
    const auto selected = selectedCells();
    return selected.isEmpty() ? nullptr : selected.first();
  }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableInterface && !DayCells(*widget()).empty()) {
      return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (column < 0 || column >= kColumns) return nullptr;
    return child(row * kColumns + column);
  }
  int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> selected;
    for (CellLabel* cell : DayCells(*widget())) {
      if (cell->Owner().Bordered()) selected.append(QAccessible::queryAccessibleInterface(cell));
    }
    return selected;
  }
  // The columns run from Sunday to Saturday.
  QString columnDescription(int column) const override {
    if (column < 0 || column >= kColumns) return {};
    return widget()->locale().dayName(column == 0 ? 7 : column, QLocale::LongFormat);
  }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return kColumns; }
  int rowCount() const override { return static_cast<int>(DayCells(*widget()).size()) / kColumns; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}
};

// --- Up-downs ----------------------------------------------------------------------

// A form's up-down: a named control whose actions step it, as its arrows do.
class UpDownAccessible final : public QAccessibleWidget {
 public:
  explicit UpDownAccessible(UpDownWidget* arrows)
      : QAccessibleWidget(arrows, QAccessible::SpinBox) {}
  QStringList actionNames() const override {
    if (!widget()->isEnabled()) return {};
    return {increaseAction(), decreaseAction()};
  }
  void doAction(const QString& name) override {
    if (!widget()->isEnabled()) return;
    if (name == increaseAction() || name == decreaseAction()) {
      static_cast<UpDownWidget*>(widget())->Step(name == increaseAction());
    }
  }
  QStringList keyBindingsForAction(const QString& name) const override {
    if (name == increaseAction()) return {QStringLiteral("Up")};
    if (name == decreaseAction()) return {QStringLiteral("Down")};
    return {};
  }
};

// --- The field ---------------------------------------------------------------------

enum class FieldPart { kStepUp, kStepDown, kCalendar };

// The field's surface, found through its editor; nullptr once the control
// behind the field is gone.
Surface* SurfaceOfField(const QWidget& field) {
  for (QObject* child : field.children()) {
    if (auto* edit = dynamic_cast<LineEdit*>(child)) return edit->GetSurface();
  }
  return nullptr;
}

DrawnPart* DrawnPartOf(const QWidget& field, FieldPart part) {
  Surface* surface = SurfaceOfField(field);
  if (surface == nullptr) return nullptr;
  try {
    if (part == FieldPart::kCalendar) {
      return dynamic_cast<DrawnButton*>(&surface->GetCommandButton("cmdCalendar"));
    }
    return dynamic_cast<DrawnUpDown*>(&surface->GetUpDown("spinCTL"));
  } catch (const Error&) {
    return nullptr;
  }
}

// A part the field draws (the arrows, each as a button, and the calendar
// button), named, with the action that presses it.
class PartAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  PartAccessible(QWidget* field, FieldPart part) : field_(field), part_(part) {}

  bool isValid() const override { return Part() != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    return field_ != nullptr ? field_->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(field_.data());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      switch (part_) {
        case FieldPart::kStepUp:
          return Tr(QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Step up"));
        case FieldPart::kStepDown:
          return Tr(QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Step down"));
        case FieldPart::kCalendar:
          return Tr(QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Open calendar"));
      }
    }
    if (t == QAccessible::Description && part_ != FieldPart::kCalendar) {
      return Tr(QT_TRANSLATE_NOOP("MorlexDateAccessibility",
                                  "Steps the month, day or year where the caret stands"));
    }
    return {};
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const DrawnPart* part = Part();
    if (part == nullptr || field_ == nullptr) return {};
    QRect area = part->Area();
    if (part_ == FieldPart::kStepUp) area.setBottom(area.top() + area.height() / 2 - 1);
    if (part_ == FieldPart::kStepDown) area.setTop(area.top() + area.height() / 2);
    return QRect(field_->mapToGlobal(area.topLeft()), area.size());
  }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State s;
    const DrawnPart* part = Part();
    if (part == nullptr || !part->Shown()) s.invisible = true;
    if (!Usable()) s.disabled = true;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }

  QStringList actionNames() const override {
    if (!Usable()) return {};
    return {pressAction()};
  }
  void doAction(const QString& name) override {
    if (name != pressAction() || !Usable()) return;
    DrawnPart* part = Part();
    if (auto* arrows = dynamic_cast<DrawnUpDown*>(part)) arrows->Step(part_ == FieldPart::kStepUp);
    if (auto* button = dynamic_cast<DrawnButton*>(part)) button->Clicked();
  }
  QStringList keyBindingsForAction(const QString& name) const override {
    if (name != pressAction()) return {};
    switch (part_) {
      case FieldPart::kStepUp:
        return {QStringLiteral("Up")};
      case FieldPart::kStepDown:
        return {QStringLiteral("Down")};
      case FieldPart::kCalendar:
        return {QStringLiteral("Alt+Down"), QStringLiteral("F4")};
    }
    return {};
  }

 private:
  DrawnPart* Part() const { return field_ != nullptr ? DrawnPartOf(*field_, part_) : nullptr; }
  bool Usable() const {
    const DrawnPart* part = Part();
    if (part == nullptr || !part->Shown()) return false;
    if (const auto* arrows = dynamic_cast<const DrawnUpDown*>(part)) return arrows->Usable();
    if (const auto* button = dynamic_cast<const DrawnButton*>(part)) return button->Usable();
    return false;
  }

  QPointer<QWidget> field_;
  FieldPart part_;
};

// The field as a whole: named as its editor is, with the editor and the
// parts it shows as its children.
class FieldAccessible final : public QAccessibleWidget {
 public:
  explicit FieldAccessible(QWidget* field) : QAccessibleWidget(field, QAccessible::Grouping) {}
  ~FieldAccessible() override {
    for (const QAccessible::Id id : ids_) {
      if (id != 0) QAccessible::deleteAccessibleInterface(id);
    }
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name || t == QAccessible::Description) {
      if (QWidget* editor = widget()->focusProxy()) {
        NameFieldEditor(*widget(), *editor);
        return t == QAccessible::Name ? editor->accessibleName() : editor->accessibleDescription();
      }
    }
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    if (const auto* field = qobject_cast<const MorlexDateWidget*>(widget())) {
      s.readOnly = field->isReadOnly();
    }
    return s;
  }

  int childCount() const override {
    return QAccessibleWidget::childCount() + static_cast<int>(ShownParts().size());
  }
  QAccessibleInterface* child(int index) const override {
    const int widgets = QAccessibleWidget::childCount();
    if (index < widgets) {
      if (QWidget* editor = widget()->focusProxy()) NameFieldEditor(*widget(), *editor);
      return QAccessibleWidget::child(index);
    }
    const auto parts = ShownParts();
    const auto i = static_cast<std::size_t>(index - widgets);
    return i < parts.size() ? PartInterface(parts[i]) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const int at = QAccessibleWidget::indexOfChild(child);
    if (at >= 0) return at;
    const auto parts = ShownParts();
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (interfaces_[static_cast<std::size_t>(parts[i])] == child) {
        return QAccessibleWidget::childCount() + static_cast<int>(i);
      }
    }
    return -1;
  }

 private:
  std::vector<FieldPart> ShownParts() const {
    std::vector<FieldPart> shown;
    for (const FieldPart part : {FieldPart::kStepUp, FieldPart::kStepDown, FieldPart::kCalendar}) {
      const DrawnPart* drawn = DrawnPartOf(*widget(), part);
      if (drawn != nullptr && drawn->Shown()) shown.push_back(part);
    }
    return shown;
  }
  // Made once each and kept by Qt's registry until the field goes.
  QAccessibleInterface* PartInterface(FieldPart part) const {
    const auto i = static_cast<std::size_t>(part);
    if (interfaces_[i] == nullptr) {
      interfaces_[i] = new PartAccessible(widget(), part);
      ids_[i] = QAccessible::registerAccessibleInterface(interfaces_[i]);
    }
    return interfaces_[i];
  }

  mutable std::array<QAccessibleInterface*, 3> interfaces_{};
  mutable std::array<QAccessible::Id, 3> ids_{};
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  if (auto* cell = qobject_cast<CellLabel*>(object)) return new CellAccessible(cell);
  if (auto* field = qobject_cast<MorlexDateWidget*>(object)) return new FieldAccessible(field);
  if (auto* arrows = qobject_cast<UpDownWidget*>(object)) return new UpDownAccessible(arrows);
  if (auto* area = qobject_cast<AreaFrame*>(object)) return new GridAccessible(area);
  return nullptr;
}

// The text of a QLabel whose buddy the field is, without its mnemonic mark.
QString BuddyText(const QWidget& field) {
  const QWidget* parent = field.parentWidget();
  if (parent == nullptr) return {};
  for (QObject* child : parent->children()) {
    const auto* label = qobject_cast<const QLabel*>(child);
    if (label == nullptr || label->buddy() != &field) continue;
    QString text = label->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text.at(i) == QLatin1Char('&')) text.remove(i, 1);  // "&&" keeps one
    }
    return text;
  }
  return {};
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&Factory);
    return true;
  }();
  (void)installed;
}

QString AccessibleNameOfPart(std::string_view design_name) {
  if (design_name == "txtMonth") return Tr(QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Month"));
  if (design_name == "spnMonth")
    return Tr(QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Change month"));
  if (design_name == "txtYear") return Tr(QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Year"));
  if (design_name == "spnYear")
    return Tr(QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Change year"));
  if (design_name == "picDays") return Tr(QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Days"));
  return {};
}

void NameFieldEditor(const QWidget& field, QWidget& editor) {
  QString name = field.accessibleName();
  if (name.isEmpty()) name = BuddyText(field);
  if (editor.accessibleName() != name) editor.setAccessibleName(name);
  // The description names the order in which the field reads the parts.
  static constexpr const char* kDescriptions[] = {
      QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Date, month/day/year"),
      QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Date, day/month/year"),
      QT_TRANSLATE_NOOP("MorlexDateAccessibility", "Date, year/month/day"),
  };
  static_assert(std::size(kDescriptions) == kDateOrders.size());
  const auto* date_field = qobject_cast<const MorlexDateWidget*>(&field);
  const int order = date_field != nullptr ? static_cast<int>(date_field->dateOrder()) : 0;
  const QString description = Tr(kDescriptions[order]);
  if (editor.accessibleDescription() != description) editor.setAccessibleDescription(description);
}

void AnnounceShownMonth(QWidget& cell, int month, int year) {
  // The dialog's title keeps the chosen date while the user pages through
  // the months; its accessible name says which month the grid shows, and
  // setting it tells a listening screen reader that the month changed.
  QWidget* dialog = cell.window();
  if (dialog == nullptr || dialog == &cell) return;
  const QString shown = cell.locale().standaloneMonthName(month, QLocale::LongFormat) +
                        QLatin1Char(' ') + QString::number(year);
  if (dialog->accessibleName() != shown) dialog->setAccessibleName(shown);
}

void AnnounceChosenCell(QWidget& cell) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent selection(&cell, QAccessible::Selection);
  QAccessible::updateAccessibility(&selection);
  const QWidget* grid = cell.parentWidget();
  if (grid != nullptr && grid->hasFocus()) {
    QAccessibleEvent focus(&cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
  }
}

}  // namespace morlex::qt::detail
