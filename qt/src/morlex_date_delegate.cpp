#include "morlex/qt/morlex_date_delegate.h"

#include "date_order_p.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QKeyEvent>
#include <optional>

#include "morlex/core/date.h"
#include "morlex/core/date_format.h"
#include "morlex/core/date_text.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/units.h"

namespace morlex::qt {
namespace {

// What a model value stands for: no date (NULL or empty), a date, or a text
// that is neither.
struct ModelValue {
  enum class Kind { kNone, kDate, kOther } kind = Kind::kNone;
  QDate date;
};

bool IsText(const QVariant& value) {
  const int type = value.metaType().id();
  return type == QMetaType::QString || type == QMetaType::QByteArray;
}

ModelValue Read(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return {};
  switch (value.metaType().id()) {
    case QMetaType::QDate:
      return {ModelValue::Kind::kDate, value.toDate()};
    case QMetaType::QDateTime:
      return {ModelValue::Kind::kDate, value.toDateTime().date()};
    default:
      break;
  }
  const QString text = value.toString();
  if (text.isEmpty()) return {};
  // Exactly yyyy-MM-dd: what SQL databases write for a date.
  if (text.size() == 10 && text[4] == u'-' && text[7] == u'-') {
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid()) return {ModelValue::Kind::kDate, date};
  }
  return {ModelValue::Kind::kOther, {}};
}

MorlexDateWidget* FieldOf(QObject* object) {
  for (auto* w = qobject_cast<QWidget*>(object); w != nullptr; w = w->parentWidget()) {
    if (auto* field = qobject_cast<MorlexDateWidget*>(w)) return field;
  }
  return nullptr;
}

}  // namespace

class MorlexDateDelegate::Private {
 public:
  int format = MorlexDateWidget::LeadingZerosCentury;
  std::u16string pattern = std::u16string(PatternOfFormat(format));
  QDate minimum{kMinYear, 1, 1};
  QDate maximum{kMaxYear, 12, 31};
  DateLayout layout;
  bool locale_order = false;
};

MorlexDateDelegate::MorlexDateDelegate(QObject* parent)
    : QStyledItemDelegate(parent), d(std::make_unique<Private>()) {}

MorlexDateDelegate::~MorlexDateDelegate() = default;

int MorlexDateDelegate::dateFormat() const {
  return d->format;
}

void MorlexDateDelegate::setDateFormat(int format) {
  d->format = format;
  d->pattern = PatternOfFormat(format);
}

int MorlexDateDelegate::dateOrder() const {
  return d->layout.order;
}

void MorlexDateDelegate::setDateOrder(int order) {
  if (const auto known = DateOrderOf(order)) d->layout.order = *known;
}

QString MorlexDateDelegate::dateSeparator() const {
  return ToQString(std::u16string(1, d->layout.separator));
}

void MorlexDateDelegate::setDateSeparator(const QString& separator) {
  if (const auto known = DateSeparatorOf(FromQString(separator))) d->layout.separator = *known;
}

bool MorlexDateDelegate::localeOrder() const {
  return d->locale_order;
}

void MorlexDateDelegate::setLocaleOrder(bool on) {
  d->locale_order = on;
}

void MorlexDateDelegate::setDateRange(const QDate& minimum, const QDate& maximum) {
  if (!minimum.isValid() || !maximum.isValid() || maximum < minimum) return;
  d->minimum = minimum;
  d->maximum = maximum;
}

QString MorlexDateDelegate::displayText(const QVariant& value, const QLocale& locale) const {
  const ModelValue read = Read(value);
  switch (read.kind) {
    case ModelValue::Kind::kNone:
      return {};
    case ModelValue::Kind::kOther:
      return QStyledItemDelegate::displayText(value, locale);
    case ModelValue::Kind::kDate:
      break;
  }
  const Date date{read.date.year(), read.date.month(), read.date.day()};
  if (!date.ok()) return read.date.toString(Qt::ISODate);
  const DateLayout layout = d->locale_order ? detail::LayoutOfLocale(locale) : d->layout;
  return ToQString(WriteDate(date, PatternInLayout(d->pattern, layout), layout));
}

QWidget* MorlexDateDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                          const QModelIndex& /*index*/) const {
  auto* field = new MorlexDateWidget(parent);
  field->setDateFormat(d->format);
  if (d->locale_order) {
    field->setLocaleOrder(true);
  } else {
    field->setDateOrder(d->layout.order);
    field->setDateSeparator(ToQString(std::u16string(1, d->layout.separator)));
  }
  field->setDateRange(d->minimum, d->maximum);
  // An item view's Tab never reaches the field: the view moves on first.
  // The text box's keys come here before the field's own handling.
  if (QWidget* box = field->focusProxy())
    box->installEventFilter(const_cast<MorlexDateDelegate*>(this));
  return field;
}

void MorlexDateDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* field = qobject_cast<MorlexDateWidget*>(editor);
  if (field == nullptr) {
    QStyledItemDelegate::setEditorData(editor, index);
    return;
  }
  const QVariant value = index.data(Qt::EditRole);
  const ModelValue read = Read(value);
  if (read.kind == ModelValue::Kind::kOther) {
    field->ShowText(value.toString());
  } else {
    field->ShowDate(read.date);
  }
}

void MorlexDateDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
  auto* field = qobject_cast<MorlexDateWidget*>(editor);
  if (field == nullptr) {
    QStyledItemDelegate::setModelData(editor, model, index);
    return;
  }
  // A text that is no date, or a date outside the range, is never stored;
  // the field has reported it at its commit.
  if (!field->Storable()) return;
  const QVariant old = index.data(Qt::EditRole);
  // A text the model holds and the field still shows as it was (a date
  // written some other way) has not been edited.
  if (IsText(old) && !old.isNull() && field->text() == old.toString()) return;
  const ModelValue before = Read(old);
  const QDate date = field->text().trimmed().isEmpty() ? QDate() : field->date();
  if (date.isNull()) {
    if (before.kind == ModelValue::Kind::kNone) return;  // NULL or empty stays as it is
    // A NULL of the model's own kind, so that the cell stays a text or a
    // date cell in a model that keeps what it is given.
    model->setData(index, QVariant(old.metaType()), Qt::EditRole);
    return;
  }
  if (date < d->minimum || date > d->maximum) return;  // a mapped field's own range may be wider
  if (before.kind == ModelValue::Kind::kDate && before.date == date) return;
  QVariant value;
  switch (old.metaType().id()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
      value = date.toString(Qt::ISODate);
      break;
    case QMetaType::QDateTime: {
      QDateTime at = old.toDateTime();
      at.setDate(date);
      value = at;
      break;
    }
    default:
      value = date;
      break;
  }
  model->setData(index, value, Qt::EditRole);
}

bool MorlexDateDelegate::eventFilter(QObject* watched, QEvent* event) {
  MorlexDateWidget* field = FieldOf(watched);
  // Of an editor's text box only the keys are the delegate's: its focus
  // going reaches the field too, and the base class would commit and close
  // the text box as if it were an editor of the view.
  if (field != nullptr && watched != field && event->type() != QEvent::KeyPress) return false;
  if (event->type() != QEvent::KeyPress) return QStyledItemDelegate::eventFilter(watched, event);
  if (field == nullptr) return QStyledItemDelegate::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
  if (watched != field) {
    // The text box of an editor in a view: Tab and Shift+Tab commit the
    // field first, and move on only when its value was handed on.
    const bool tab = key->key() == Qt::Key_Tab && plain && !(key->modifiers() & Qt::ShiftModifier);
    const bool backtab = key->key() == Qt::Key_Backtab ||
                         (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
    if (!tab && !backtab) return false;
    if (field->Commit()) {
      Q_EMIT commitData(field);
      Q_EMIT closeEditor(field, tab ? EditNextItem : EditPreviousItem);
    }
    return true;
  }
  // Enter reaches the field after its own commit: a value that was not
  // handed on keeps the editor open.
  if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !field->Storable()) {
    return true;
  }
  return QStyledItemDelegate::eventFilter(watched, event);
}

}  // namespace morlex::qt
