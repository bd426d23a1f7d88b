// A form designed in Designer, built two ways: compiled by uic into code, and
// loaded at run time by QUiLoader through the plugin. Each field must come
// out with what the .ui holds, its property writes applied in the file's
// order (the text before the format that re-renders it), and a field whose
// text the .ui does not hold shows the day it runs on.
#include <gtest/gtest.h>

#include <QColor>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QUiLoader>
#include <QVariant>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "morlex/qt/morlex_date_widget.h"
#include "ui_record_form.h"

namespace {

struct Expected {
  const char* field;
  std::vector<std::pair<const char*, QVariant>> properties;
};

QString Today() {
  return QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
}

std::vector<Expected> ExpectedFields() {
  return {
      {"born",
       {{"text", QStringLiteral("3/7/99")},
        {"dateFormat", 3},
        {"spin", false},
        {"calendar", true},
        {"dataField", QStringLiteral("born")},
        {"backColor", QColor(255, 255, 192)},
        {"toolTipText", QStringLiteral("Date of birth")},
        {"geometry", QRect(10, 10, 150, 21)},
        {"userMode", true}}},
      {"hired",
       {{"text", Today()},
        {"dateFormat", 0},
        {"spin", true},
        {"calendar", false},
        {"dataField", QString()},
        {"geometry", QRect(10, 50, 120, 21)},
        {"userMode", true}}},
  };
}

void CheckForm(const QWidget& form, const char* how) {
  for (const Expected& expected : ExpectedFields()) {
    SCOPED_TRACE(std::string(how) + " " + expected.field);
    const auto* field = form.findChild<QWidget*>(QString::fromLatin1(expected.field));
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->inherits("morlex::qt::MorlexDateWidget"));
    // The plugin and this program share the binding's library, so a field
    // that QUiLoader made is the class the program knows.
    EXPECT_NE(qobject_cast<const morlex::qt::MorlexDateWidget*>(field), nullptr);
    for (const auto& [name, value] : expected.properties) {
      QVariant actual = field->property(name);
      // The enumeration reads back as its own type; compare its number.
      if (value.typeId() == QMetaType::Int) actual = actual.toInt();
      EXPECT_EQ(actual, value) << name << ": " << actual.toString().toStdString();
    }
  }
}

}  // namespace

TEST(UiRoundTrip, UicBuildsTheDesignedFields) {
  QWidget form;
  Ui::RecordForm ui;
  ui.setupUi(&form);
  CheckForm(form, "uic");
}

TEST(UiRoundTrip, QUiLoaderBuildsTheSameFieldsThroughThePlugin) {
  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QFileInfo(QStringLiteral(MORLEX_DESIGNER_PLUGIN_FILE)).absolutePath());
  ASSERT_TRUE(loader.availableWidgets().contains("morlex::qt::MorlexDateWidget"));
  QFile file(QStringLiteral(MORLEX_UI_FIXTURE));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  std::unique_ptr<QWidget> form(loader.load(&file));
  ASSERT_NE(form, nullptr) << loader.errorString().toStdString();
  CheckForm(*form, "QUiLoader");
}
