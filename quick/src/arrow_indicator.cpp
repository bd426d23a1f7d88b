#include "morlex/quick/arrow_indicator.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGTexture>
#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace morlex::quick {
namespace {

// The image of the arrows for a size in device pixels and a colour, drawn
// once and kept: the fields of a form all show the same few.
QImage ArrowsImage(ArrowIndicator::Arrows arrows, QSize size, QColor color) {
  struct Key {
    int arrows, width, height;
    QRgb rgba;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const noexcept {
      return qHashMulti(0, k.arrows, k.width, k.height, k.rgba);
    }
  };
  static thread_local std::unordered_map<Key, QImage, KeyHash> images;
  const Key key{arrows, size.width(), size.height(), color.rgba()};
  if (auto found = images.find(key); found != images.end()) return found->second;
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    // Each arrow is half as tall as wide, the pair fitting the height.
    const qreal w = std::min<qreal>(
        size.width() * 0.7, size.height() * (arrows == ArrowIndicator::UpDown ? 0.45 : 0.9));
    const qreal h = w / 2;
    const qreal left = (size.width() - w) / 2;
    const auto triangle = [&](qreal top, bool up) {
      QPainterPath path;
      path.moveTo(left, up ? top + h : top);
      path.lineTo(left + w, up ? top + h : top);
      path.lineTo(left + w / 2, up ? top : top + h);
      path.closeSubpath();
      painter.drawPath(path);
    };
    if (arrows == ArrowIndicator::UpDown) {
      const qreal gap = h / 2;
      const qreal top = (size.height() - 2 * h - gap) / 2;
      triangle(top, true);
      triangle(top + h + gap, false);
    } else {
      triangle((size.height() - h) / 2, false);
    }
  }
  if (images.size() > 64) images.clear();  // a bound for looks that animate colour
  images.emplace(key, image);
  return image;
}

}  // namespace

ArrowIndicator::ArrowIndicator(QQuickItem* parent) : QQuickItem(parent) {
  setFlag(ItemHasContents, true);
}

void ArrowIndicator::setArrows(Arrows arrows) {
  if (arrows == arrows_) return;
  arrows_ = arrows;
  update();
  Q_EMIT arrowsChanged();
}

void ArrowIndicator::setColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  update();
  Q_EMIT colorChanged();
}

void ArrowIndicator::geometryChange(const QRectF& new_geometry, const QRectF& old_geometry) {
  QQuickItem::geometryChange(new_geometry, old_geometry);
  if (new_geometry.size() != old_geometry.size()) update();
}

QSGNode* ArrowIndicator::updatePaintNode(QSGNode* old, UpdatePaintNodeData*) {
  const qreal dpr = window() != nullptr ? window()->effectiveDevicePixelRatio() : 1.0;
  const QSize size(static_cast<int>(std::ceil(width() * dpr)),
                   static_cast<int>(std::ceil(height() * dpr)));
  if (size.isEmpty() || window() == nullptr) {
    delete old;
    return nullptr;
  }
  // A new node for a new image: the node owns its texture and deletes it.
  delete old;
  QSGImageNode* node = window()->createImageNode();
  QImage image = ArrowsImage(arrows_, size, color_);
  image.setDevicePixelRatio(dpr);
  node->setTexture(window()->createTextureFromImage(image));
  node->setOwnsTexture(true);
  node->setRect(boundingRect());
  return node;
}

}  // namespace morlex::quick
