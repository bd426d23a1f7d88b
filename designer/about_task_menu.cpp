#include "about_task_menu.h"

#include <QAction>
#include <QPointer>
#include <QtDesigner/QExtensionManager>

#include "morlex/qt/morlex_date_widget.h"

namespace morlex::designer {

AboutTaskMenu::AboutTaskMenu(QObject* widget, QObject* parent)
    : QObject(parent), about_(new QAction(QStringLiteral("About MorlexDate\u2026"), this)) {
  // The widget may go (the designer deletes it) while the extension lives on.
  QPointer<QObject> target(widget);
  connect(about_, &QAction::triggered, this, [target] {
    if (auto* field = qobject_cast<qt::MorlexDateWidget*>(target.data())) field->aboutBox();
  });
}

QAction* AboutTaskMenu::preferredEditAction() const {
  return nullptr;
}

QList<QAction*> AboutTaskMenu::taskActions() const {
  return {about_};
}

AboutTaskMenuFactory::AboutTaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}

QObject* AboutTaskMenuFactory::createExtension(QObject* object, const QString& iid,
                                               QObject* parent) const {
  if (iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension))) return nullptr;
  if (qobject_cast<qt::MorlexDateWidget*>(object) == nullptr) return nullptr;
  return new AboutTaskMenu(object, parent);
}

}  // namespace morlex::designer
