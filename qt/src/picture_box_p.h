#pragma once
// Internal: the picture box, a frame that holds other widgets.

#include <QFrame>

#include "widget_p.h"

namespace morlex::qt::detail {

class PictureBox final : public WidgetImpl<platform::PictureBox> {
 public:
  PictureBox(Surface& surface, const platform::WidgetDesign& design, QWidget* parent);
  float ScaleWidth() const override;
  float ScaleHeight() const override;
  bool TakesFocus() const override { return true; }
  QFrame* Frame() const { return frame_; }

 private:
  QFrame* frame_;
};

}  // namespace morlex::qt::detail
