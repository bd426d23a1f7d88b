// The plugin as Designer sees it: one widget in the collection, its widget box
// entry, and the snippet a drop starts from.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QIcon>
#include <QPluginLoader>
#include <QWidget>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>

namespace {

QDesignerCustomWidgetInterface* LoadPlugin() {
  static QPluginLoader loader(QStringLiteral(MORLEX_DESIGNER_PLUGIN_FILE));
  auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
  if (collection == nullptr) {
    ADD_FAILURE() << "no widget collection: " << loader.errorString().toStdString();
    return nullptr;
  }
  const auto widgets = collection->customWidgets();
  EXPECT_EQ(widgets.size(), 1);
  return widgets.isEmpty() ? nullptr : widgets.first();
}

}  // namespace

TEST(DesignerPlugin, WidgetBoxEntry) {
  QDesignerCustomWidgetInterface* plugin = LoadPlugin();
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->name(), "morlex::qt::MorlexDateWidget");
  EXPECT_EQ(plugin->group(), "Morlex Date Control");
  EXPECT_FALSE(plugin->toolTip().isEmpty());
  EXPECT_FALSE(plugin->whatsThis().isEmpty());
  EXPECT_FALSE(plugin->isContainer());
  // The toolbox picture, 16 x 15, from the artwork files.
  const QIcon icon = plugin->icon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 15));
  // uic writes the include as given: it must name the public header.
  EXPECT_TRUE(QFileInfo::exists(QStringLiteral(MORLEX_QT_INCLUDE_DIR "/") + plugin->includeFile()));
}

// A drop pins nothing: the snippet names the class and an object name and
// holds no property (no date, no geometry: the field takes its size hint).
// The text and the data field are data, not wording to translate.
TEST(DesignerPlugin, DomXmlHoldsNoValues) {
  QDesignerCustomWidgetInterface* plugin = LoadPlugin();
  ASSERT_NE(plugin, nullptr);
  QXmlStreamReader xml(plugin->domXml());
  int widgets = 0;
  int properties = 0;
  QStringList untranslated;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const auto attributes = xml.attributes();
    if (xml.name() == u"widget") {
      ++widgets;
      EXPECT_EQ(attributes.value(QStringLiteral("class")), plugin->name());
      EXPECT_FALSE(attributes.value(QStringLiteral("name")).isEmpty());
    } else if (xml.name() == u"property") {
      ++properties;
    } else if (xml.name() == u"stringpropertyspecification" &&
               attributes.value(QStringLiteral("notr")) == u"true") {
      untranslated << attributes.value(QStringLiteral("name")).toString();
    }
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(widgets, 1);
  EXPECT_EQ(properties, 0);
  EXPECT_TRUE(untranslated.contains("text"));
  EXPECT_TRUE(untranslated.contains("dataField"));
}

// Outside a form Designer edits (QUiLoader in an application, Designer's
// preview) the field runs as in the finished program.
TEST(DesignerPlugin, CreatesFieldInUserModeOutsideAFormWindow) {
  QDesignerCustomWidgetInterface* plugin = LoadPlugin();
  ASSERT_NE(plugin, nullptr);
  QWidget form;
  QWidget* field = plugin->createWidget(&form);
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->inherits("morlex::qt::MorlexDateWidget"));
  EXPECT_EQ(field->parentWidget(), &form);
  EXPECT_TRUE(field->property("userMode").toBool());
  EXPECT_TRUE(field->property("dateIsValid").toBool());  // a new field shows today
}
