// The parts of a field that its surface's body draws itself: the spin
// arrows and the calendar button.
#include "drawn_parts_p.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include "artwork_p.h"
#include "command_button_p.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/units.h"
#include "surface_p.h"

namespace morlex::qt::detail {

// --- DrawnImpl -----------------------------------------------------------------------

template <typename Base>
DrawnImpl<Base>::DrawnImpl(Surface& surface, const platform::WidgetDesign& d)
    : PartImpl<Base>(surface, d) {}

template <typename Base>
void DrawnImpl<Base>::Place() {
  const double tpp = this->surface_.TwipsPerPixel();
  const QRect area = this->surface_.Mirrored(
      QRect(TwipsToPixels(this->left_, tpp), TwipsToPixels(this->top_, tpp),
            TwipsToPixelSize(this->width_, tpp), TwipsToPixelSize(this->height_, tpp)),
      this->surface_.Body());
  if (area == area_) return;
  Repaint();
  area_ = area;
  Repaint();
}

template <typename Base>
void DrawnImpl<Base>::SetVisible(bool v) {
  if (v == this->visible_) return;
  this->visible_ = v;
  Repaint();
}

template <typename Base>
void DrawnImpl<Base>::SetEnabled(bool v) {
  if (v == this->enabled_) return;
  this->enabled_ = v;
  Repaint();
}

template <typename Base>
bool DrawnImpl<Base>::Usable() const {
  const QWidget* body = this->surface_.Body();
  return this->enabled_ && body != nullptr && body->isEnabled();
}

template <typename Base>
void DrawnImpl<Base>::Repaint() const {
  QWidget* body = this->surface_.Body();
  if (body != nullptr && !area_.isEmpty()) body->update(area_);
}

template class DrawnImpl<platform::CommandButton>;
template class DrawnImpl<platform::UpDown>;

// --- DrawnUpDown -------------------------------------------------------------------

DrawnUpDown::DrawnUpDown(Surface& surface, const platform::WidgetDesign& d)
    : DrawnImpl(surface, d), state_(d) {}

void DrawnUpDown::Step(bool up) {
  // Arrows hidden or disabled while held step no further.
  Guarded([&] {
    if (Usable() && Shown()) Press(up);
  });
}

void DrawnUpDown::Paint(QPainter& painter, const QWidget& body) {
  PaintArrows(painter, body, area_, state_.Pressed(), Usable(), false, kept_key_);
}

void DrawnUpDown::MousePress(QPoint at) {
  if (!Usable()) return;
  state_.Hold(ArrowAt(at));
  Repaint();
  if (state_.Pressed() == 0) return;
  // The surface's context goes before the parts do.
  state_.RepeatWhileHeld(surface_.Context(), [this](bool up) { Step(up); });
  Step(state_.Pressed() > 0);
}

void DrawnUpDown::MouseRelease(QPoint) {
  if (state_.LetGo()) Repaint();
}

// --- DrawnButton -------------------------------------------------------------------

DrawnButton::DrawnButton(Surface& surface, const platform::WidgetDesign& d)
    : DrawnImpl(surface, d), caption_(d.caption) {
  if (d.font) font_ = QFontFromFont(FontOfDesign(*d.font));
  if (!d.picture.empty()) {
    const QImage picture = ArtworkPicture(d.picture);
    if (!picture.isNull()) {
      icon_ = SharedIcon(picture);
      icon_size_ = picture.size();
    }
  }
}

void DrawnButton::SetCaption(std::u16string_view caption) {
  caption_ = caption;
  Repaint();
}

void DrawnButton::Clicked() {
  Guarded([this] { CallHandler(events.Click); });
}

void DrawnButton::Paint(QPainter& painter, const QWidget& body) {
  QStyleOptionButton option;
  option.initFrom(&body);
  option.rect = QRect(QPoint(0, 0), area_.size());
  option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  if (!Usable()) option.state &= ~QStyle::State_Enabled;
  if (hovered_ && Usable()) option.state |= QStyle::State_MouseOver;
  option.state |= Sunken() ? QStyle::State_Sunken : QStyle::State_Raised;
  option.text = ToQString(caption_);
  option.icon = icon_;
  option.iconSize = icon_size_;
  // What the font leaves unset is the body's, as for a widget of its own.
  const QFont font = font_.value_or(surface_.SurfaceFont()).resolve(body.font());
  option.fontMetrics = QFontMetrics(font);
  const auto draw = [&](QPainter& on) {
    on.setFont(font);
    body.style()->drawControl(QStyle::CE_PushButton, &option, &on, &body);
  };
  if (body.style()->inherits("QStyleSheetStyle")) {
    DrawAt(painter, area_, draw);
    return;
  }
  const qreal ratio = TargetRatio(painter);
  const QString key = kept_key_.Of(
      body, option, ratio,
      {3, static_cast<quint64>(icon_.cacheKey()), qHash(option.text), qHash(font.key())});
  PaintKept(painter, area_.topLeft(), area_.size(), ratio, key, draw);
}

void DrawnButton::Hover(bool over) {
  if (over == hovered_) return;
  hovered_ = over;
  Repaint();
}

void DrawnButton::MousePress(QPoint at) {
  if (!Usable()) return;
  pressed_ = true;
  over_ = area_.contains(at);
  Repaint();
}

void DrawnButton::MouseDrag(QPoint at) {
  if (!pressed_) return;
  const bool over = area_.contains(at);
  if (over == over_) return;
  over_ = over;
  Repaint();
}

void DrawnButton::MouseRelease(QPoint at) {
  if (!pressed_) return;
  pressed_ = false;
  over_ = area_.contains(at);
  Repaint();
  if (over_ && Usable() && Shown()) Clicked();
}

}  // namespace morlex::qt::detail
