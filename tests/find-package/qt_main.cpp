// Puts a MorlexDateWidget on a form with the installed Qt binding, offscreen,
// and shows a date of an item model through the installed delegate. It
// draws the field (the calendar button's picture) and loads the German
// captions, both from the installed package's own files: scripts/test.sh
// watches which files it opens.
#include <QApplication>
#include <QTranslator>
#include <cstdio>

#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/translation.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QWidget form;
  morlex::qt::MorlexDateWidget field(&form);
  field.setText(QStringLiteral("3/7/1999"));
  field.setDateFormat(morlex::qt::MorlexDateWidget::NoLeadingZerosNoCentury);
  morlex::qt::MorlexDateDelegate dates;
  const QString shown = dates.displayText(QStringLiteral("1999-03-07"), QLocale());
  form.resize(200, 40);
  form.show();
  const bool drawn = !form.grab().isNull();
  const bool german = morlex::qt::InstallTranslator(QLocale(QLocale::German)) != nullptr;
  std::printf("translations: %s\n", morlex::qt::TranslationsDirectory().toUtf8().constData());
  std::printf("%s %s %s\n", field.text().toUtf8().constData(),
              field.date().toString(Qt::ISODate).toUtf8().constData(), shown.toUtf8().constData());
  return field.text() == QStringLiteral("3/7/99") && field.date() == QDate(1999, 3, 7) &&
                 shown == QStringLiteral("03/07/1999") && drawn && german
             ? 0
             : 1;
}
