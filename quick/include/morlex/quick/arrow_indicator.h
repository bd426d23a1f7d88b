#pragma once
// Arrows for a look to place: the spin indicator's pair (up over down) or a
// single arrow pointing down (the calendar button's), on a box of its own if
// the look gives one (a button's ground and frame). A style file sizes,
// places and colours it; it draws an image of the arrows, made once for each
// size and set of colours and shared by every indicator that shows the same.
// A form of many fields then lays out no text and makes no extra items for
// its arrows.
//
//   ArrowIndicator { arrows: ArrowIndicator.UpDown; color: palette.buttonText }
//   ArrowIndicator { arrows: ArrowIndicator.Down; fill: palette.button; frame: palette.mid
//                    padding: Math.round(height / 4); color: palette.buttonText }

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QQuickItem>

namespace morlex::quick {

class ArrowIndicator : public QQuickItem {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(Arrows arrows READ arrows WRITE setArrows NOTIFY arrowsChanged)
  Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
  // The box behind the arrows (transparent by default: none), its 1-pixel
  // frame, and the room kept clear between the box's edge and the arrows.
  Q_PROPERTY(QColor fill READ fill WRITE setFill NOTIFY fillChanged)
  Q_PROPERTY(QColor frame READ frame WRITE setFrame NOTIFY frameChanged)
  Q_PROPERTY(qreal padding READ padding WRITE setPadding NOTIFY paddingChanged)

 public:
  enum Arrows : int { UpDown = 0, Down = 1 };
  Q_ENUM(Arrows)

  explicit ArrowIndicator(QQuickItem* parent = nullptr);

  Arrows arrows() const { return arrows_; }
  void setArrows(Arrows arrows);
  QColor color() const { return color_; }
  void setColor(const QColor& color);
  QColor fill() const { return fill_; }
  void setFill(const QColor& fill);
  QColor frame() const { return frame_; }
  void setFrame(const QColor& frame);
  qreal padding() const { return padding_; }
  void setPadding(qreal padding);

 Q_SIGNALS:
  void arrowsChanged();
  void colorChanged();
  void fillChanged();
  void frameChanged();
  void paddingChanged();

 protected:
  QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;
  void geometryChange(const QRectF& new_geometry, const QRectF& old_geometry) override;

 private:
  Arrows arrows_ = UpDown;
  QColor color_ = Qt::black;
  QColor fill_ = Qt::transparent;
  QColor frame_ = Qt::transparent;
  qreal padding_ = 0;
};

}  // namespace morlex::quick
