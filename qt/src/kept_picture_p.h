#pragma once
// Internal: pictures that the widgets draw once for each look and copy from
// then on (QPixmapCache), and the key that tells one look from another.

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QRect>
#include <QString>
#include <initializer_list>
#include <optional>
#include <utility>

class QStyleOption;
class QWidget;

namespace morlex::qt::detail {

// The key of a picture that a widget draws once for each look and copies
// from then on: its style, colours, size, state and pixel ratio, and the
// details given. Empty when the picture is not to be kept: a palette with
// gradients or textures, which such a key cannot tell apart, a fractional
// pixel ratio, or painting at another ratio than the widget's. Each widget
// keeps one, which remembers its palette's colours.
class KeptPictureKey {
 public:
  QString Of(const QWidget& widget, const QStyleOption& option, qreal ratio,
             std::initializer_list<quint64> details);

 private:
  qint64 palette_ = -1;
  std::optional<quint64> colors_;
};

// The pixel ratio of what a painter paints on: a widget's own, or that of a
// picture the widget is rendered into (a grab at another ratio).
qreal TargetRatio(QPainter& painter);

// Draws with the origin at the area's top left and nothing outside it: a
// style's edge lines may reach half a pixel beyond their rectangle, which
// shows at device pixel ratios above 1 where no widget's edge would cut it.
template <typename Draw>
void DrawAt(QPainter& painter, const QRect& area, Draw&& draw) {
  painter.save();
  painter.setClipRect(area, Qt::IntersectClip);
  painter.translate(area.topLeft());
  draw(painter);
  painter.restore();
}

// A picture drawn once for each key and copied from then on; without a key
// (see KeptPictureKey::Of) it is drawn straight onto the painter each time.
template <typename Draw>
void PaintKept(QPainter& painter, QPoint at, QSize size, qreal ratio, const QString& key,
               Draw&& draw) {
  if (key.isEmpty()) {
    DrawAt(painter, QRect(at, size), draw);
    return;
  }
  QPixmap picture;
  if (!QPixmapCache::find(key, &picture)) {
    picture = QPixmap(size * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter offscreen(&picture);
    draw(offscreen);
    offscreen.end();
    QPixmapCache::insert(key, picture);
  }
  painter.drawPixmap(at, picture);
}

}  // namespace morlex::qt::detail
