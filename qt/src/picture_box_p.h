#pragma once
// Internal: the picture box, a frame that holds other widgets.

#include <QFrame>

#include "widget_p.h"

namespace morlex::qt::detail {

// The frame of a picture box; a class of its own to Qt's meta-object system,
// so that a day grid gets the accessible interface made for it.
class AreaFrame final : public QFrame {
  Q_OBJECT

 public:
  using QFrame::QFrame;
};

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
