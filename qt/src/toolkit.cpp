// The Qt toolkit itself: it makes the control's surface and the forms, and
// answers what its owners ask of the widgets it made.
#include "morlex/qt/toolkit.h"

#include <QPushButton>

#include "accessibility_p.h"
#include "drawn_parts_p.h"
#include "form_p.h"
#include "morlex/core/error.h"
#include "surface_p.h"
#include "text_box_p.h"
#include "up_down_p.h"

namespace morlex::qt {

Toolkit::Toolkit() {
  detail::InstallAccessibility();
}
Toolkit::~Toolkit() = default;

std::unique_ptr<platform::Surface> Toolkit::CreateControlSurface(
    const platform::SurfaceDesign& design) {
  if (detail::SurfaceParentScope* scope = surface_parent_) {
    auto surface = std::make_unique<detail::Surface>(design, scope->Parent(), false, true,
                                                     scope->ForwardsEvents());
    scope->made_ = surface.get();
    return surface;
  }
  auto* body = new QWidget(nullptr);
  body->setObjectName(QString::fromStdString(design.name));
  return std::make_unique<detail::Surface>(design, body, true, true);
}

std::unique_ptr<platform::Form> Toolkit::CreateForm(const platform::SurfaceDesign& design) {
  return std::make_unique<detail::Form>(*this, design, live_forms_);
}

QWidget* WidgetOf(const platform::Widget& widget) {
  const auto* w = dynamic_cast<const detail::QtWidget*>(&widget);
  return w != nullptr ? w->Q() : nullptr;
}

QRect AreaOf(const platform::Widget& widget) {
  if (const auto* part = dynamic_cast<const detail::DrawnPart*>(&widget)) return part->Area();
  const QWidget* q = WidgetOf(widget);
  return q != nullptr ? q->geometry() : QRect();
}

bool IsDrawnPart(const platform::Widget& widget) {
  return dynamic_cast<const detail::DrawnPart*>(&widget) != nullptr;
}

QWidget* WidgetOf(const platform::Surface& surface) {
  const auto* s = dynamic_cast<const detail::Surface*>(&surface);
  return s != nullptr ? s->Body() : nullptr;
}

platform::Widget* FocusedWidget(const platform::Surface& surface) {
  const auto* s = dynamic_cast<const detail::Surface*>(&surface);
  return s != nullptr ? s->Focused() : nullptr;
}

void MoveFocus(platform::Surface& surface, platform::Widget* to) {
  auto* s = dynamic_cast<detail::Surface*>(&surface);
  if (s == nullptr) detail::NotOfThisToolkit("surface");
  s->MoveFocus(to);
}

platform::Surface& SurfaceOf(const platform::Widget& widget) {
  const auto* w = dynamic_cast<const detail::QtWidget*>(&widget);
  if (w == nullptr) detail::NotOfThisToolkit("widget");
  return w->Owner();
}

void PressAsIfHit(platform::UpDown& updown, bool up) {
  if (auto* drawn = dynamic_cast<detail::DrawnUpDown*>(&updown)) return drawn->Press(up);
  auto* arrows = dynamic_cast<detail::UpDown*>(&updown);
  if (arrows == nullptr) detail::NotOfThisToolkit("up-down");
  arrows->Press(up);
}

bool UnderDrawnPart(const QLineEdit& edit, QPoint at) {
  const auto* line = dynamic_cast<const detail::LineEdit*>(&edit);
  const detail::Surface* surface = line != nullptr ? line->GetSurface() : nullptr;
  return surface != nullptr && surface->PartAt(edit.mapToParent(at)) != nullptr;
}

void ClickAsIfHit(platform::CommandButton& button) {
  if (auto* drawn = dynamic_cast<detail::DrawnButton*>(&button)) return drawn->Clicked();
  auto* push = qobject_cast<QPushButton*>(WidgetOf(button));
  if (push == nullptr) detail::NotOfThisToolkit("command button");
  push->click();
}

}  // namespace morlex::qt
