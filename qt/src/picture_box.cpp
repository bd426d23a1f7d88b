// The picture box of the Qt toolkit.
#include "picture_box_p.h"

#include <QApplication>
#include <algorithm>

#include "morlex/qt/units.h"
#include "surface_p.h"

namespace morlex::qt::detail {

PictureBox::PictureBox(Surface& surface, const platform::WidgetDesign& d, QWidget* parent)
    : WidgetImpl(surface, d, new AreaFrame(parent)), frame_(static_cast<QFrame*>(widget_)) {
  if (d.border_style != 0) {
    frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame_->setLineWidth(2);
  } else {
    frame_->setFrameStyle(QFrame::NoFrame);
  }
  frame_->setFocusPolicy(tab_stop_ ? Qt::TabFocus : Qt::NoFocus);
  frame_->setAutoFillBackground(true);
  const QPalette theme = QApplication::palette(frame_);
  QPalette palette = theme;
  SetRole(palette, theme, QPalette::Window, d.back_color.value_or(platform::kColorButtonFace));
  frame_->setPalette(palette);
}

float PictureBox::ScaleWidth() const {
  const double border = PixelsToTwips(2 * frame_->frameWidth(), surface_.TwipsPerPixel());
  return std::max(0.0F, static_cast<float>(width_ - border));
}

float PictureBox::ScaleHeight() const {
  const double border = PixelsToTwips(2 * frame_->frameWidth(), surface_.TwipsPerPixel());
  return std::max(0.0F, static_cast<float>(height_ - border));
}
}  // namespace morlex::qt::detail
