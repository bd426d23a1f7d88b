#pragma once
// Arrows for a look to place: the spin indicator's pair (up over down) or a
// single arrow pointing down (the calendar button's). A style file sizes,
// places and colours it; it draws an image of the arrows, made once for each
// size and colour and shared by every indicator that shows the same. A form
// of many fields then lays out no text for its arrows.
//
//   ArrowIndicator { arrows: ArrowIndicator.UpDown; color: palette.buttonText }

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QQuickItem>

namespace morlex::quick {

class ArrowIndicator : public QQuickItem {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(Arrows arrows READ arrows WRITE setArrows NOTIFY arrowsChanged)
  Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

 public:
  enum Arrows : int { UpDown = 0, Down = 1 };
  Q_ENUM(Arrows)

  explicit ArrowIndicator(QQuickItem* parent = nullptr);

  Arrows arrows() const { return arrows_; }
  void setArrows(Arrows arrows);
  QColor color() const { return color_; }
  void setColor(const QColor& color);

 Q_SIGNALS:
  void arrowsChanged();
  void colorChanged();

 protected:
  QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;
  void geometryChange(const QRectF& new_geometry, const QRectF& old_geometry) override;

 private:
  Arrows arrows_ = UpDown;
  QColor color_ = Qt::black;
};

}  // namespace morlex::quick
