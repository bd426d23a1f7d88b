#pragma once
// Internal: the parts of a field that its surface's body draws itself.

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QSize>
#include <optional>
#include <string>

#include "kept_picture_p.h"
#include "up_down_p.h"
#include "widget_p.h"

class QPainter;
class QWidget;

namespace morlex::qt::detail {

// The spin arrows and the calendar button of a field are drawn by the
// surface's body and answer the mouse there, as a spin box draws its arrows
// and a date edit its pop-up button: on a form of many fields each widget
// less is one less to build, polish, show, paint and keep. A drawn part lies
// over the body's widgets (the arrows over the right end of the text box):
// those widgets draw the parts over themselves as well and pass on the mouse
// presses that fall on them. A drawn part never takes the keyboard focus.
class DrawnPart {
 public:
  virtual ~DrawnPart() = default;
  // Where the part is, in the body's pixels.
  const QRect& Area() const { return area_; }
  // Drawn and hit by the mouse: visible, with a size.
  virtual bool Shown() const = 0;
  // Draws the part at its area; the painter paints in the body's pixels.
  virtual void Paint(QPainter& painter, const QWidget& body) = 0;
  // A press of the left button on the part, then the moves and the release
  // that follow it wherever they are (the body's pixels).
  virtual void MousePress(QPoint at) = 0;
  virtual void MouseDrag(QPoint at) = 0;
  virtual void MouseRelease(QPoint at) = 0;
  // The mouse came over the part or left it, no button held.
  virtual void Hover(bool) {}

 protected:
  QRect area_;
};

template <typename Base>
class DrawnImpl : public PartImpl<Base>, public DrawnPart {
 public:
  DrawnImpl(Surface& surface, const platform::WidgetDesign& design);
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  QWidget* Q() const override { return nullptr; }
  void Place() override;
  bool Shown() const override { return this->visible_ && !area_.isEmpty(); }
  // Enabled, on an enabled body: the user can use it.
  bool Usable() const;

 protected:
  // Has the body paint the part again.
  void Repaint() const;
};

// The arrows of an up-down, drawn by the body.
class DrawnUpDown final : public DrawnImpl<platform::UpDown> {
 public:
  DrawnUpDown(Surface& surface, const platform::WidgetDesign& design);
  int Value() const override { return state_.Value(); }
  void SetValue(int value) override { state_.SetValue(value, events); }
  int Min() const override { return state_.Min(); }
  int Max() const override { return state_.Max(); }
  // One press on an arrow: one step within the range.
  void Press(bool up) { state_.Press(up, events); }
  // Which arrow a point of the body hits: +1 upper, -1 lower, 0 none.
  int ArrowAt(QPoint at) const { return UpDownState::ArrowAt(area_, at); }
  int Pressed() const { return state_.Pressed(); }
  // A step as the user's press makes it: only while the arrows are usable;
  // a failure is reported, not thrown.
  void Step(bool up);

  void Paint(QPainter& painter, const QWidget& body) override;
  void MousePress(QPoint at) override;
  void MouseDrag(QPoint) override {}
  void MouseRelease(QPoint at) override;

 private:
  UpDownState state_;
  KeptPictureKey kept_key_;
};

// A command button drawn by the body: pressed while the mouse holds it,
// clicked when the mouse lets go over it.
class DrawnButton final : public DrawnImpl<platform::CommandButton> {
 public:
  DrawnButton(Surface& surface, const platform::WidgetDesign& design);
  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view caption) override;
  const QIcon& Icon() const { return icon_; }
  QSize IconSize() const { return icon_size_; }
  bool Sunken() const { return pressed_ && over_; }
  bool Hovered() const { return hovered_; }
  // What a click does: the Click handler, its failure reported.
  void Clicked();

  void Paint(QPainter& painter, const QWidget& body) override;
  void MousePress(QPoint at) override;
  void MouseDrag(QPoint at) override;
  void MouseRelease(QPoint at) override;
  void Hover(bool over) override;

 private:
  std::u16string caption_;
  std::optional<QFont> font_;  // the design's, when it names one
  QIcon icon_;
  QSize icon_size_;
  bool pressed_ = false;
  bool over_ = false;
  bool hovered_ = false;
  KeptPictureKey kept_key_;
};

}  // namespace morlex::qt::detail
