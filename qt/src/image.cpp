// The image of the Qt toolkit.
#include "image_p.h"

#include <QPixmap>

#include "artwork_p.h"

namespace morlex::qt::detail {

Image::Image(Surface& surface, const platform::WidgetDesign& d, QWidget* parent)
    : WidgetImpl(surface, d, new QLabel(parent)),
      label_(static_cast<QLabel*>(widget_)),
      picture_(ArtworkPicture(d.picture)) {
  label_->setFocusPolicy(Qt::NoFocus);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Image::Place() {
  WidgetImpl::Place();
  if (picture_.isNull()) return;
  // Stretched to the widget's size without smoothing: the picture is pixel
  // art and should stay crisp at every device pixel ratio.
  const qreal ratio = label_->devicePixelRatioF();
  const QSize target = label_->size() * ratio;
  if (target.isEmpty()) return;
  QPixmap pixmap =
      QPixmap::fromImage(picture_.scaled(target, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  pixmap.setDevicePixelRatio(ratio);
  label_->setPixmap(pixmap);
}

}  // namespace morlex::qt::detail
