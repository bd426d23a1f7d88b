#pragma once
// The Qt Designer plugin of MorlexDateWidget: the widget box entry (group,
// icon, tool tip, What's This), the .ui snippet a drop starts from, and the
// widgets Designer and QUiLoader create. A widget on a form that Designer is
// editing runs in design mode (ambient UserMode False); every other one (a
// preview, a form QUiLoader loads in an application) runs in user mode.

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class QDesignerFormEditorInterface;

namespace morlex::designer {

class MorlexDatePlugin final : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  explicit MorlexDatePlugin(QObject* parent = nullptr);

  QString name() const override;
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QString includeFile() const override;
  QIcon icon() const override;
  bool isContainer() const override;
  QWidget* createWidget(QWidget* parent) override;
  bool isInitialized() const override;
  void initialize(QDesignerFormEditorInterface* core) override;
  QString domXml() const override;

 private:
  bool initialized_ = false;
};

// What Designer and QUiLoader load: the collection of the project's widgets.
class MorlexWidgets final : public QObject, public QDesignerCustomWidgetCollectionInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

 public:
  explicit MorlexWidgets(QObject* parent = nullptr);
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

 private:
  QList<QDesignerCustomWidgetInterface*> widgets_;
};

}  // namespace morlex::designer
