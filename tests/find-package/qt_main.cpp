// Puts a MorlexDateWidget on a form with the installed Qt binding, offscreen.
#include <QApplication>
#include <cstdio>

#include "morlex/qt/morlex_date_widget.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QWidget form;
  morlex::qt::MorlexDateWidget field(&form);
  field.setText(QStringLiteral("3/7/1999"));
  field.setDateFormat(morlex::qt::MorlexDateWidget::NoLeadingZerosNoCentury);
  std::printf("%s\n", field.text().toUtf8().constData());
  return field.text() == QStringLiteral("3/7/99") ? 0 : 1;
}
