#include "morlex/quick/form_captions.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGTexture>
#include <cmath>

namespace morlex::quick {

FormCaptions::FormCaptions(QQuickItem* parent) : QQuickItem(parent) {
  setFlag(ItemHasContents, true);
}

void FormCaptions::setParts(FormParts* parts) {
  if (parts == parts_) return;
  if (parts_ != nullptr) QObject::disconnect(parts_, nullptr, this, nullptr);
  parts_ = parts;
  if (parts_ != nullptr) {
    // A changed row may be a changed caption; the others change no caption.
    QObject::connect(parts_, &QAbstractItemModel::dataChanged, this, &FormCaptions::Redraw);
    QObject::connect(parts_, &QAbstractItemModel::modelReset, this, &FormCaptions::Redraw);
    QObject::connect(parts_, &QObject::destroyed, this, &FormCaptions::Redraw);
  }
  Redraw();
  Q_EMIT partsChanged();
}

void FormCaptions::setFont(const QFont& font) {
  if (font == font_) return;
  font_ = font;
  Redraw();
  Q_EMIT fontChanged();
}

void FormCaptions::setColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  Redraw();
  Q_EMIT colorChanged();
}

void FormCaptions::geometryChange(const QRectF& new_geometry, const QRectF& old_geometry) {
  QQuickItem::geometryChange(new_geometry, old_geometry);
  if (new_geometry.size() != old_geometry.size()) Redraw();
}

void FormCaptions::Redraw() {
  stale_ = true;
  update();
}

QImage FormCaptions::Draw(qreal dpr) const {
  const QSize size(static_cast<int>(std::ceil(width() * dpr)),
                   static_cast<int>(std::ceil(height() * dpr)));
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(dpr);
  image.fill(Qt::transparent);
  if (parts_ == nullptr) return image;
  QPainter painter(&image);
  painter.setPen(color_);
  QFont bold = font_;
  bold.setBold(true);
  for (const FormParts::Caption& c : parts_->Captions()) {
    painter.setFont(c.bold ? bold : font_);
    const Qt::Alignment across = c.alignment == 2   ? Qt::AlignHCenter
                                 : c.alignment == 1 ? Qt::AlignRight
                                                    : Qt::AlignLeft;
    if (c.cell) {
      // A day fits its cell; a caption too long for it ends in an ellipsis.
      const QString shown = painter.fontMetrics().elidedText(c.text, Qt::ElideRight,
                                                             static_cast<int>(c.area.width()));
      painter.drawText(c.area, static_cast<int>(across | Qt::AlignVCenter), shown);
    } else {
      // Headings size themselves by a metric of their own: the caption may
      // run past them, never cut short.
      painter.drawText(c.area, static_cast<int>(across | Qt::AlignVCenter | Qt::TextDontClip),
                       c.text);
    }
  }
  return image;
}

QSGNode* FormCaptions::updatePaintNode(QSGNode* old, UpdatePaintNodeData*) {
  if (window() == nullptr || width() <= 0 || height() <= 0) {
    delete old;
    return nullptr;
  }
  const qreal dpr = window()->effectiveDevicePixelRatio();
  if (stale_ || image_.isNull() || image_.devicePixelRatio() != dpr) {
    image_ = Draw(dpr);
    stale_ = false;
    delete old;
    old = nullptr;
  }
  if (old != nullptr) return old;
  // A node of its own for each image: it owns its texture and deletes it.
  QSGImageNode* node = window()->createImageNode();
  node->setTexture(window()->createTextureFromImage(image_));
  node->setOwnsTexture(true);
  node->setRect(QRectF(0, 0, width(), height()));
  return node;
}

}  // namespace morlex::quick
