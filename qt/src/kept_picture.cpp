// Pictures that the widgets draw once for each look and copy from then on.
#include "kept_picture_p.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPalette>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <cmath>

namespace morlex::qt::detail {
namespace {

// The colours a palette paints with, as one number: fields with palettes of
// their own but the same colours look alike. nullopt when a role has a
// gradient or a texture, which such a number cannot tell apart.
std::optional<quint64> ColorsOf(const QPalette& palette) {
  quint64 hash = 1469598103934665603ULL;  // FNV-1a
  for (int g = 0; g < QPalette::NColorGroups; ++g) {
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
      const QBrush& brush =
          palette.brush(static_cast<QPalette::ColorGroup>(g), static_cast<QPalette::ColorRole>(r));
      if (brush.style() != Qt::SolidPattern && brush.style() != Qt::NoBrush) return std::nullopt;
      hash = (hash ^ brush.color().rgba64()) * 1099511628211ULL;
    }
  }
  return hash;
}

}  // namespace

qreal TargetRatio(QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  const QPaintDevice* target = engine != nullptr ? engine->paintDevice() : painter.device();
  return target != nullptr ? target->devicePixelRatioF() : 1.0;
}

QString KeptPictureKey::Of(const QWidget& widget, const QStyleOption& option, qreal ratio,
                           std::initializer_list<quint64> details) {
  // At a fractional ratio a picture's pixels need not fall where the
  // style's own would; a widget rendered at another ratio than its screen's
  // (a grab for a picture) has styles draw parts at the screen's ratio.
  if (!(ratio >= 1) || ratio != std::floor(ratio) || ratio != widget.devicePixelRatioF()) {
    return {};
  }
  // The palette's colours are worked out again only when the palette is
  // another one.
  if (option.palette.cacheKey() != palette_) {
    palette_ = option.palette.cacheKey();
    colors_ = ColorsOf(option.palette);
  }
  if (!colors_) return {};
  quint64 hash = *colors_;
  const auto add = [&hash](quint64 value) { hash = (hash ^ value) * 1099511628211ULL; };
  add(static_cast<quint64>(option.palette.currentColorGroup()));
  add(reinterpret_cast<quintptr>(widget.style()));
  add(qHash(widget.style()->name()));
  add(static_cast<quint64>(option.rect.width()));
  add(static_cast<quint64>(option.rect.height()));
  add(static_cast<quint64>(option.state));
  add(static_cast<quint64>(ratio));
  for (const quint64 detail : details) add(detail);
  return QStringLiteral("morlex-") + QString::number(hash, 16);
}

}  // namespace morlex::qt::detail
