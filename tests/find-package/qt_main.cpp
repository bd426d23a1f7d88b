// Puts a MorlexDateWidget on a form with the installed Qt binding, offscreen,
// and shows a date of an item model through the installed delegate.
#include <QApplication>
#include <cstdio>

#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QWidget form;
  morlex::qt::MorlexDateWidget field(&form);
  field.setText(QStringLiteral("3/7/1999"));
  field.setDateFormat(morlex::qt::MorlexDateWidget::NoLeadingZerosNoCentury);
  morlex::qt::MorlexDateDelegate dates;
  const QString shown = dates.displayText(QStringLiteral("1999-03-07"), QLocale());
  std::printf("%s %s %s\n", field.text().toUtf8().constData(),
              field.date().toString(Qt::ISODate).toUtf8().constData(), shown.toUtf8().constData());
  return field.text() == QStringLiteral("3/7/99") && field.date() == QDate(1999, 3, 7) &&
                 shown == QStringLiteral("03/07/1999")
             ? 0
             : 1;
}
