#include "morlex_date_widget_p.h"

namespace morlex::qt {

// --- Host side ---------------------------------------------------------------------------

bool MorlexDateWidget::userMode() const {
  return d->user_mode;
}
void MorlexDateWidget::setUserMode(bool user_mode) {
  d->user_mode = user_mode;
}
void MorlexDateWidget::setCanChangeHandler(std::function<bool(const QString&)> handler) {
  d->can_change = std::move(handler);
}
void MorlexDateWidget::setNotifyChangedHandler(std::function<void(const QString&)> handler) {
  d->notify_changed = std::move(handler);
}
void MorlexDateWidget::setResizeRequestHandler(
    std::function<void(Qt::Orientations, float&, float&)> handler) {
  d->resize_request = std::move(handler);
}
void MorlexDateWidget::setAmbientFont(platform::FontRef font) {
  d->ambient_font = std::move(font);
}
void MorlexDateWidget::setClock(const platform::Clock* clock) {
  d->clock = clock;
}

void MorlexDateWidget::resizeTwips(float width, float height) {
  d->Apply(width, height);
  d->Notice();
}

void MorlexDateWidget::initProperties() {
  d->control->InitProperties();
  d->FollowToolTip();
  updateGeometry();
}
void MorlexDateWidget::readProperties(platform::PropertyBag& bag) {
  d->control->ReadProperties(bag);
  d->FollowToolTip();  // loading sets the text box's tooltip without a notice
  updateGeometry();
}
void MorlexDateWidget::writeProperties(platform::PropertyBag& bag) {
  d->control->WriteProperties(bag);
}

MorlexDate& MorlexDateWidget::control() {
  return *d->control;
}
const MorlexDate& MorlexDateWidget::control() const {
  return *d->control;
}
platform::HostSite& MorlexDateWidget::site() {
  return *d;
}
Toolkit& MorlexDateWidget::toolkit() {
  return *d->toolkit;
}

}  // namespace morlex::qt
