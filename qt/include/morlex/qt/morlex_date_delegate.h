#pragma once
// MorlexDateDelegate: shows and edits dates of an item model with the date
// field, in item views and on a QDataWidgetMapper.
//
//   auto* dates = new morlex::qt::MorlexDateDelegate(view);
//   dates->setDateFormat(morlex::qt::MorlexDateWidget::LeadingZerosNoCentury);
//   view->setItemDelegateForColumn(2, dates);
//
//   mapper->setItemDelegate(dates);          // fields mapped by the mapper
//   mapper->addMapping(bornField, 2);        // a MorlexDateWidget
//
// A model value may be a QDate (or QDateTime), a text in ISO form
// (yyyy-MM-dd, as SQL databases keep dates) or NULL; it is shown in the
// pattern of the format, NULL as nothing. Loading a value into a field asks
// no host and counts as no edit. Writing back keeps the model's own kind (a
// QDate stays a QDate, ISO text stays ISO text), an empty field writes NULL,
// a value the model already holds is not written again, and a text that is
// no date, or a date outside the range, writes nothing: in a view the editor
// stays open on Enter and Tab, and the field reports it itself.
#include <QDate>
#include <QStyledItemDelegate>
#include <memory>

#include "morlex/qt/export.h"

namespace morlex::qt {

class MORLEX_QT_EXPORT MorlexDateDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit MorlexDateDelegate(QObject* parent = nullptr);
  ~MorlexDateDelegate() override;

  // The MorlexDateWidget::DateFormat values; the editors take it too.
  int dateFormat() const;
  void setDateFormat(int format);
  // The order and separator of the dates, shown and handed to the editors
  // (MorlexDateWidget::DateOrder values; "/", "." or "-"); a value the field
  // would refuse is ignored. With localeOrder on, the view's locale decides
  // both, as the field's localeOrder does.
  int dateOrder() const;
  void setDateOrder(int order);
  QString dateSeparator() const;
  void setDateSeparator(const QString& separator);
  bool localeOrder() const;
  void setLocaleOrder(bool on);
  // The range given to the editors (by default 0100-01-01 to 9999-12-31).
  void setDateRange(const QDate& minimum, const QDate& maximum);

  QString displayText(const QVariant& value, const QLocale& locale) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Private;
  std::unique_ptr<Private> const d;
};

}  // namespace morlex::qt
