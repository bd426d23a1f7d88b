// A QTableView over 100,000 rows with a date column: painting the whole
// viewport, scrolling one page, and opening the editor of a date cell
// (double-click until the editor has been painted), with MorlexDateDelegate
// against Qt's default, a QStyledItemDelegate on QDate values whose editor
// is a QDateEdit. A third variant gives Qt's default delegate an editor that
// is an empty widget: what the view itself costs around any editor.
// Each measure runs alone so that callgrind can count it (only the timed
// step, TimedTableStep, is counted by bench/report.sh).
#include <QAbstractTableModel>
#include <QApplication>
#include <QDate>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <cstdio>

#include "harness.h"
#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"

namespace morlex::bench::qt {
namespace {

constexpr int kRows = 100000;
constexpr int kDateColumn = 1;

class Dates final : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kRows; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (index.column() == 0) return index.row() + 1;
    return QDate(1950, 1, 1).addDays(index.row() % 30000);
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
  }
};

void DoubleClick(QWidget* widget, QPoint at) {
  const QPointF local(at);
  const QPointF global(widget->mapToGlobal(at));
  const auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
    QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  };
  send(QEvent::MouseButtonPress, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, Qt::NoButton);
  send(QEvent::MouseButtonDblClick, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, Qt::NoButton);
}

// Qt's default delegate with an empty, focusable widget for an editor.
class EmptyEditorDelegate final : public QStyledItemDelegate {
 public:
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex&) const override {
    auto* editor = new QWidget(parent);
    editor->setFocusPolicy(Qt::StrongFocus);
    editor->setAutoFillBackground(true);
    return editor;
  }
  void setEditorData(QWidget*, const QModelIndex&) const override {}
  void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
};

// The innermost widget of the open editor: painted last.
QWidget* OpenEditor(QTableView& view) {
  for (QWidget* w : view.viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isVisible()) continue;
    if (auto* field = qobject_cast<morlex::qt::MorlexDateWidget*>(w)) return field->focusProxy();
    if (auto* edit = w->findChild<QLineEdit*>()) return edit;
    return w;  // the empty editor
  }
  return nullptr;
}

// One timed step of a measure; kept out of line so that callgrind can
// count it alone.
[[gnu::noinline]] void TimedTableStep(QTableView& view, std::string_view measure, int i) {
  QWidget* viewport = view.viewport();
  if (measure == "paint") {
    viewport->update();
    WaitForPaint(viewport);
  } else if (measure == "scroll") {
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(bar->value() + bar->pageStep());
    WaitForPaint(viewport);
  } else {
    const int row = view.rowAt(40) + 1 + i % 10;
    DoubleClick(viewport, view.visualRect(view.model()->index(row, kDateColumn)).center());
    if (QWidget* editor = OpenEditor(view)) WaitForPaint(editor);
  }
}

}  // namespace

int RunTable(std::string_view variant, std::string_view measure, int rounds) {
  if (variant != "morlex" && variant != "qdate" && variant != "empty") {
    std::fprintf(stderr, "table: unknown variant\n");
    return 2;
  }
  Dates model;
  QTableView view;
  view.setModel(&model);
  view.setEditTriggers(QAbstractItemView::DoubleClicked);
  morlex::qt::MorlexDateDelegate delegate;
  EmptyEditorDelegate empty_delegate;
  if (variant == "morlex") view.setItemDelegateForColumn(kDateColumn, &delegate);
  if (variant == "empty") view.setItemDelegateForColumn(kDateColumn, &empty_delegate);
  view.resize(480, 800);
  view.setColumnWidth(kDateColumn, 200);
  ShowActive(view);
  const auto one = [&](int i) { TimedTableStep(view, measure, i); };
  const auto after = [&] {
    if (measure != "open") return;
    if (QWidget* editor = OpenEditor(view)) {
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(editor, &escape);
    }
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  };
  if (measure != "paint" && measure != "scroll" && measure != "open") {
    std::fprintf(stderr, "table: unknown measure\n");
    return 2;
  }
  for (int i = 0; i < 3; ++i) {  // warm-up: fonts, style, the first editor
    one(i);
    after();
  }
  double cpu = 0;
  for (int i = 0; i < rounds; ++i) {
    const double start = CpuMicroseconds();
    one(i);
    cpu += CpuMicroseconds() - start;
    after();
  }
  std::printf("table %.*s_%.*s rounds=%d cpu_us=%.2f\n", static_cast<int>(variant.size()),
              variant.data(), static_cast<int>(measure.size()), measure.data(), rounds,
              cpu / rounds);
  return 0;
}

}  // namespace morlex::bench::qt
