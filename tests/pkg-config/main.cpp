// Uses the Qt binding of the installed libraries, found through pkg-config:
// its public headers and its one shared library.
#include <QApplication>
#include <cstdio>

#include "morlex/qt/morlex_date_widget.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  morlex::qt::MorlexDateWidget field;
  field.setText(QStringLiteral("12/25/1999"));
  field.setDateFormat(morlex::qt::MorlexDateWidget::LeadingZerosNoCentury);
  std::printf("%s %d\n", field.text().toUtf8().constData(), static_cast<int>(field.dateFormat()));
  return field.text() == QStringLiteral("12/25/99") &&
                 field.dateFormat() == morlex::qt::MorlexDateWidget::LeadingZerosNoCentury
             ? 0
             : 1;
}
