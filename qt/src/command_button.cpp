// The command button of the Qt toolkit.
#include "command_button_p.h"

#include <QEvent>
#include <QHash>

#include "artwork_p.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/units.h"
#include "surface_p.h"
#include "translation_p.h"

namespace morlex::qt::detail {

QIcon SharedIcon(const QImage& picture) {
  static QHash<qint64, QIcon> icons;
  auto found = icons.constFind(picture.cacheKey());
  if (found == icons.constEnd()) {
    QIcon icon;
    icon.addPixmap(CrispPixmap(picture, 1.0));
    icon.addPixmap(CrispPixmap(picture, 2.0));
    if (icons.size() >= 16) icons.clear();  // only stale pictures pile up
    found = icons.insert(picture.cacheKey(), icon);
  }
  return *found;
}

// --- PushButton ------------------------------------------------------------------

bool PushButton::event(QEvent* event) {
  if (event->type() == QEvent::PolishRequest) {
    ensurePolished();  // what QWidget does with the request, less the layout request
    return true;
  }
  return QPushButton::event(event);
}

// --- CommandButton ------------------------------------------------------------------

CommandButton::CommandButton(Surface& surface, const platform::WidgetDesign& d, QWidget* parent)
    : WidgetImpl(surface, d, new PushButton(parent)),
      button_(static_cast<QPushButton*>(widget_)),
      caption_(d.caption),
      is_default_(d.is_default),
      is_cancel_(d.is_cancel) {
  // Enter and Esc are the form's business (FormWindow), by the design's own
  // marks, not Qt's automatic default buttons.
  button_->setAutoDefault(false);
  button_->setDefault(false);
  button_->setFocusPolicy(tab_stop_ ? Qt::StrongFocus : Qt::ClickFocus);
  button_->setText(ShownCaption(caption_));
  if (d.font) {
    button_->setFont(QFontFromFont(FontOfDesign(*d.font)));
  } else if (!surface.OwnsBody()) {
    button_->setFont(surface.SurfaceFont());  // the body's font is its owner's
  }
  if (!d.picture.empty()) picture_ = ArtworkPicture(d.picture);
  RefreshPicture();
  QObject::connect(button_, &QAbstractButton::clicked, surface.Context(),
                   [this] { Guarded([this] { CallHandler(events.Click); }); });
}

void CommandButton::SetCaption(std::u16string_view caption) {
  caption_ = caption;
  button_->setText(ShownCaption(caption_));
}

void CommandButton::RefreshPicture() {
  if (picture_.isNull()) return;
  button_->setIcon(SharedIcon(picture_));
  button_->setIconSize(picture_.size());
}

}  // namespace morlex::qt::detail
