#include "morlex/quick/arrow_indicator.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGTexture>
#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace morlex::quick {
namespace {

// What an image shows: the arrows, their colour, the box behind them and the
// room between its edge and the arrows, in device pixels.
struct Look {
  int arrows;
  QRgb color, fill, frame;
  int padding;
  int frame_width;
  bool operator==(const Look&) const = default;
};

// The image of the arrows for a size in device pixels and a look, drawn
// once and kept: the fields of a form all show the same few.
QImage ArrowsImage(QSize size, const Look& look) {
  struct Key {
    Look look;
    int width, height;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const noexcept {
      return qHashMulti(0, k.look.arrows, k.look.color, k.look.fill, k.look.frame, k.look.padding,
                        k.look.frame_width, k.width, k.height);
    }
  };
  static thread_local std::unordered_map<Key, QImage, KeyHash> images;
  const Key key{look, size.width(), size.height()};
  if (auto found = images.find(key); found != images.end()) return found->second;
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor::fromRgba(look.fill));
  {
    QPainter painter(&image);
    if (qAlpha(look.frame) != 0) {
      const qreal fw = look.frame_width;
      painter.setPen(QPen(QColor::fromRgba(look.frame), fw));
      painter.drawRect(QRectF(fw / 2, fw / 2, size.width() - fw, size.height() - fw));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(look.color));
    // Each arrow is half as tall as wide, the pair fitting the height left
    // inside the padding.
    const qreal inner_w = std::max(1, size.width() - 2 * look.padding);
    const qreal inner_h = std::max(1, size.height() - 2 * look.padding);
    const bool pair = look.arrows == ArrowIndicator::UpDown;
    const qreal w = std::min<qreal>(inner_w * 0.7, inner_h * (pair ? 0.45 : 0.9));
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
    if (pair) {
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

namespace {

// Sets one of the indicator's properties; a change draws it again and tells
// QML.
template <typename T>
void Change(ArrowIndicator& item, T& field, const T& value, void (ArrowIndicator::*changed)()) {
  if (field == value) return;
  field = value;
  item.update();
  Q_EMIT(item.*changed)();
}

}  // namespace

void ArrowIndicator::setArrows(Arrows arrows) {
  Change(*this, arrows_, arrows, &ArrowIndicator::arrowsChanged);
}

void ArrowIndicator::setColor(const QColor& color) {
  Change(*this, color_, color, &ArrowIndicator::colorChanged);
}

void ArrowIndicator::setFill(const QColor& fill) {
  Change(*this, fill_, fill, &ArrowIndicator::fillChanged);
}

void ArrowIndicator::setFrame(const QColor& frame) {
  Change(*this, frame_, frame, &ArrowIndicator::frameChanged);
}

void ArrowIndicator::setPadding(qreal padding) {
  Change(*this, padding_, padding, &ArrowIndicator::paddingChanged);
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
  const Look look{arrows_,
                  color_.rgba(),
                  fill_.rgba(),
                  frame_.rgba(),
                  static_cast<int>(std::lround(std::max<qreal>(0, padding_) * dpr)),
                  static_cast<int>(std::max<long>(1, std::lround(dpr)))};
  QImage image = ArrowsImage(size, look);
  image.setDevicePixelRatio(dpr);
  node->setTexture(window()->createTextureFromImage(image));
  node->setOwnsTexture(true);
  node->setRect(boundingRect());
  return node;
}

}  // namespace morlex::quick
