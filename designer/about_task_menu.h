#pragma once
// The "About MorlexDate..." entry of the field's context menu in Designer: it
// calls the widget's AboutBox, as design tools do for a control's about-box
// member.

#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QAction;

namespace morlex::qt {
class MorlexDateWidget;
}

namespace morlex::designer {

class AboutTaskMenu final : public QObject, public QDesignerTaskMenuExtension {
  Q_OBJECT
  Q_INTERFACES(QDesignerTaskMenuExtension)

 public:
  AboutTaskMenu(QObject* widget, QObject* parent);
  QAction* preferredEditAction() const override;
  QList<QAction*> taskActions() const override;

 private:
  QAction* about_;
};

class AboutTaskMenuFactory final : public QExtensionFactory {
  Q_OBJECT

 public:
  explicit AboutTaskMenuFactory(QExtensionManager* parent = nullptr);

 protected:
  QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

}  // namespace morlex::designer
