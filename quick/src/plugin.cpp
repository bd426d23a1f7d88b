// The plugin that `import Morlex.Controls` loads: it registers the module's
// types, which the static library inside it holds with the QML files.
#include <QQmlEngineExtensionPlugin>

void qml_register_types_Morlex_Controls();

class MorlexControlsPlugin : public QQmlEngineExtensionPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QQmlEngineExtensionInterface_iid)

 public:
  explicit MorlexControlsPlugin(QObject* parent = nullptr) : QQmlEngineExtensionPlugin(parent) {
    // Keeps the registration (and with it the library's types) in the plugin.
    volatile auto registration = &qml_register_types_Morlex_Controls;
    Q_UNUSED(registration)
  }
};

#include "plugin.moc"
