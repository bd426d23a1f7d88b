// The field on a form that Designer's own form editor holds: it runs in
// design mode, offers "About MorlexDate..." in its context menu, and the .ui
// the editor writes holds the properties the designer changed and nothing
// else (in particular not the date the field shows on the design day).
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <map>

namespace {

// A form as a drop from the widget box leaves it: the field with the
// geometry Designer gave it.
const char* const kDroppedForm = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>300</width><height>80</height></rect></property>
  <widget class="morlex::qt::MorlexDateWidget" name="due">
   <property name="geometry"><rect><x>10</x><y>10</y><width>109</width><height>21</height></rect></property>
  </widget>
 </widget>
 <customwidgets>
  <customwidget>
   <class>morlex::qt::MorlexDateWidget</class>
   <extends>QWidget</extends>
   <header>morlex/qt/morlex_date_widget.h</header>
  </customwidget>
 </customwidgets>
</ui>
)";

// The properties the .ui holds for one widget: name -> the text of its value.
std::map<QString, QString> WrittenProperties(const QString& ui, const QString& widget) {
  std::map<QString, QString> written;
  QXmlStreamReader xml(ui);
  int depth = 0;  // element depth inside the widget, 0 outside it
  QString property;
  while (!xml.atEnd()) {
    const auto token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      if (depth > 0) {
        ++depth;
        if (depth == 2 && xml.name() == QStringLiteral("property")) {
          property = xml.attributes().value(QStringLiteral("name")).toString();
        } else if (depth == 3 && !property.isEmpty()) {
          written[property] = xml.readElementText(QXmlStreamReader::IncludeChildElements);
          --depth;
        }
      } else if (xml.name() == QStringLiteral("widget") &&
                 xml.attributes().value(QStringLiteral("name")) == widget) {
        depth = 1;
      }
    } else if (token == QXmlStreamReader::EndElement && depth > 0) {
      --depth;
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return written;
}

class DesignerForm : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Designer looks for plugins in the "designer" folder of each library path.
    QCoreApplication::addLibraryPath(QFileInfo(QStringLiteral(MORLEX_DESIGNER_PLUGIN_FILE))
                                         .absoluteDir()
                                         .absoluteFilePath(".."));
    QDesignerComponents::initializeResources();
    core_ = QDesignerComponents::createFormEditor(nullptr);
    QDesignerComponents::initializePlugins(core_);
    new QDesignerIntegration(core_, core_);  // sets itself as the editor's integration
  }
  static void TearDownTestSuite() {
    delete core_;
    core_ = nullptr;
  }

  void SetUp() override {
    form_ = core_->formWindowManager()->createFormWindow(nullptr);
    ASSERT_NE(form_, nullptr);
    ASSERT_TRUE(form_->setContents(QString::fromUtf8(kDroppedForm)));
    field_ = form_->mainContainer()->findChild<QWidget*>(QStringLiteral("due"));
    ASSERT_NE(field_, nullptr);
    ASSERT_TRUE(field_->inherits("morlex::qt::MorlexDateWidget"));
  }
  void TearDown() override { delete form_; }

  // What the property editor does with a value the designer enters.
  void Edit(const char* name, const QVariant& value) {
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(core_->extensionManager(), field_);
    ASSERT_NE(sheet, nullptr);
    const int index = sheet->indexOf(QString::fromLatin1(name));
    ASSERT_GE(index, 0) << name;
    sheet->setProperty(index, value);
    sheet->setChanged(index, true);
  }

  static inline QDesignerFormEditorInterface* core_ = nullptr;
  QDesignerFormWindowInterface* form_ = nullptr;
  QWidget* field_ = nullptr;
};

TEST_F(DesignerForm, FieldRunsInDesignMode) {
  EXPECT_FALSE(field_->property("userMode").toBool());
  EXPECT_EQ(field_->geometry(), QRect(10, 10, 109, 21));
}

TEST_F(DesignerForm, ContextMenuOffersTheAboutBox) {
  auto* menu = qt_extension<QDesignerTaskMenuExtension*>(core_->extensionManager(), field_);
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (const QAction* action : menu->taskActions()) texts << action->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("About MorlexDate\u2026")))
      << texts.join('|').toStdString();
}

// The field shows the design day's date, and a format change re-renders it:
// neither reaches the file. What the designer set does, enumerations by name.
TEST_F(DesignerForm, UiHoldsOnlyWhatTheDesignerChanged) {
  EXPECT_TRUE(field_->property("dateIsValid").toBool());
  const auto dropped = WrittenProperties(form_->contents(), "due");
  EXPECT_EQ(dropped.size(), 1u);
  EXPECT_EQ(dropped.count("geometry"), 1u);

  Edit("dateFormat", 1);
  Edit("calendar", false);
  const auto written = WrittenProperties(form_->contents(), "due");
  EXPECT_EQ(written.count("text"), 0u);
  EXPECT_EQ(written.count("spin"), 0u);
  EXPECT_EQ(written.count("userMode"), 0u);
  EXPECT_EQ(written.at("dateFormat"), "morlex::qt::MorlexDateWidget::LeadingZerosNoCentury");
  EXPECT_EQ(written.at("calendar"), "false");

  Edit("text", QStringLiteral("12/25/99"));
  EXPECT_EQ(WrittenProperties(form_->contents(), "due").at("text"), "12/25/99");
}

}  // namespace
