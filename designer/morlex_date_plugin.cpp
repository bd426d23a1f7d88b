#include "morlex_date_plugin.h"

#include <QIcon>
#include <QPixmap>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QExtensionManager>
#include <cstdint>
#include <exception>
#include <vector>

#include "about_task_menu.h"
#include "morlex/artwork/artwork.h"
#include "morlex/qt/morlex_date_widget.h"

namespace morlex::designer {

MorlexDatePlugin::MorlexDatePlugin(QObject* parent) : QObject(parent) {}

// The fully qualified class: uic writes it into generated code as it stands,
// and QUiLoader looks the plugin up by it.
QString MorlexDatePlugin::name() const {
  return QStringLiteral("morlex::qt::MorlexDateWidget");
}

QString MorlexDatePlugin::group() const {
  return QStringLiteral("Morlex Date Control");
}

QString MorlexDatePlugin::toolTip() const {
  return QStringLiteral("MorlexDate: a date-entry field with spin indicator and calendar button");
}

QString MorlexDatePlugin::whatsThis() const {
  return QStringLiteral(
      "A single-line date-entry field. The user types a date in month/day/year order; the "
      "up-down indicator steps the day, month or year under the caret, and the calendar button "
      "opens a month calendar. The field raises dateChanged (its date), textChanged, "
      "dateInvalid, dateError, clicked and doubleClicked, and binds its text to a data field.");
}

QString MorlexDatePlugin::includeFile() const {
  return QStringLiteral("morlex/qt/morlex_date_widget.h");
}

QIcon MorlexDatePlugin::icon() const {
  try {
    const std::vector<std::uint8_t> bytes = artwork::Load(artwork::kToolboxPicture);
    QPixmap picture;
    if (picture.loadFromData(bytes.data(), static_cast<uint>(bytes.size()))) return QIcon(picture);
  } catch (const std::exception&) {
    // No picture: the widget box shows its generic one.
  }
  return {};
}

bool MorlexDatePlugin::isContainer() const {
  return false;
}

QWidget* MorlexDatePlugin::createWidget(QWidget* parent) {
  auto* field = new qt::MorlexDateWidget(parent);
  // On a form being edited the field is being designed, not used. Designer's
  // preview and QUiLoader in an application create it outside any form
  // window, where it runs as in the finished program.
  if (parent != nullptr && QDesignerFormWindowInterface::findFormWindow(parent) != nullptr) {
    field->setUserMode(false);
  }
  return field;
}

bool MorlexDatePlugin::isInitialized() const {
  return initialized_;
}

void MorlexDatePlugin::initialize(QDesignerFormEditorInterface* core) {
  if (initialized_) return;
  initialized_ = true;
  if (core == nullptr || core->extensionManager() == nullptr) return;
  QExtensionManager* manager = core->extensionManager();
  manager->registerExtensions(new AboutTaskMenuFactory(manager),
                              QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension)));
}

// What a drop from the widget box starts from. It holds no property values:
// the new field takes its size hint, and a .ui file records only what the
// designer then sets. The string properties that hold data rather than
// wording are not offered for translation.
QString MorlexDatePlugin::domXml() const {
  return QStringLiteral(R"(<ui language="c++" displayname="MorlexDate">
 <widget class="morlex::qt::MorlexDateWidget" name="morlexDate"/>
 <customwidgets>
  <customwidget>
   <class>morlex::qt::MorlexDateWidget</class>
   <propertyspecifications>
    <stringpropertyspecification name="text" notr="true" type="singleline"/>
    <stringpropertyspecification name="dataField" notr="true" type="singleline"/>
    <stringpropertyspecification name="toolTipText" type="singleline"/>
   </propertyspecifications>
  </customwidget>
 </customwidgets>
</ui>
)");
}

MorlexWidgets::MorlexWidgets(QObject* parent) : QObject(parent) {
  widgets_.append(new MorlexDatePlugin(this));
}

QList<QDesignerCustomWidgetInterface*> MorlexWidgets::customWidgets() const {
  return widgets_;
}

}  // namespace morlex::designer
