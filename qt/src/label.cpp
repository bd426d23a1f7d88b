// The label of the Qt toolkit.
#include "label_p.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "accessibility_p.h"
#include "morlex/qt/units.h"
#include "surface_p.h"
#include "translation_p.h"

namespace morlex::qt::detail {
namespace {

Qt::Alignment QtAlignment(int alignment) {
  const Qt::Alignment horizontal = alignment == 1   ? Qt::AlignRight
                                   : alignment == 2 ? Qt::AlignHCenter
                                                    : Qt::AlignLeft;
  return horizontal | Qt::AlignVCenter;
}

// A label's palette for its colours on a theme. The last one made is kept
// and shared: a day grid's cells all ask for the same, and making one
// copies and changes a palette.
QPalette PaletteOf(const QPalette& theme, std::uint32_t back, std::uint32_t fore) {
  struct Made {
    qint64 theme = 0;
    std::uint32_t back = 0;
    std::uint32_t fore = 0;
    QPalette palette;
  };
  static Made last;
  if (last.theme == theme.cacheKey() && last.back == back && last.fore == fore) {
    return last.palette;
  }
  QPalette palette = theme;
  SetRole(palette, theme, QPalette::Window, back);
  SetRole(palette, theme, QPalette::WindowText, fore);
  if (!IsSystemColor(back) && IsSystemColor(fore)) {
    KeepReadable(palette, QPalette::Window, QPalette::WindowText);
  }
  last = {theme.cacheKey(), back, fore, palette};
  return palette;
}

// The width of a caption in a font. Measuring shapes the text, and a day
// grid measures the same few captions at each fill: the widths are kept
// for the last font, until the fonts installed or the application change.
qreal Advance(const QFont& font, const QString& caption) {
  struct Kept {
    QPointer<QGuiApplication> application;  // null once it is gone
    QFont font;
    QHash<QString, qreal> widths;
  };
  // Never destroyed: a font must not be released after the application.
  static Kept& kept = *new Kept;
  if (qGuiApp != nullptr && kept.application != qGuiApp) {
    kept.application = qGuiApp;
    kept.widths.clear();
    QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, qGuiApp,
                     [] { kept.widths.clear(); });
  }
  if (!(kept.font == font) || kept.widths.size() > 256) {
    kept.font = font;
    kept.widths.clear();
  }
  const auto found = kept.widths.constFind(caption);
  if (found != kept.widths.constEnd()) return *found;
  const qreal width = QFontMetricsF(font).horizontalAdvance(caption);
  kept.widths.insert(caption, width);
  return width;
}

}  // namespace

Label::Label(Surface& surface, const platform::WidgetDesign& d, QWidget* parent)
    : WidgetImpl(surface, d, new CellLabel(parent, *this)),
      label_(static_cast<QLabel*>(widget_)),
      caption_(d.caption),
      bordered_(d.border_style != 0),
      alignment_(d.alignment),
      back_color_(d.back_color.value_or(platform::kColorButtonFace)),
      fore_color_(d.fore_color.value_or(platform::kColorButtonText)),
      auto_size_(d.auto_size) {
  label_->setTextFormat(Qt::PlainText);
  label_->setFocusPolicy(Qt::NoFocus);
  label_->setIndent(0);
  label_->setAutoFillBackground(true);
  font_ = d.font ? QFontFromFont(FontOfDesign(*d.font)) : surface.SurfaceFont();
  label_->setFont(font_);
  label_->setText(ShownCaption(caption_));
  label_->setAlignment(QtAlignment(alignment_));
  label_->setFrameStyle(bordered_ ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
  // The first colours wait for the label's first show, move or resize (one
  // of them comes before it is painted, on screen or into a picture): a day
  // grid colours its cells right after making them, and setting a palette
  // costs Qt about as much as making the label.
  back_color_due_ = true;
  static_cast<CellLabel*>(label_)->Attach();
  if (auto_size_) Fit();
}

bool CellLabel::event(QEvent* event) {
  const QEvent::Type type = event->type();
  if (attached_ && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize)) {
    owner_.ApplyDueColors();
  }
  return QLabel::event(event);
}

void CellLabel::changeEvent(QEvent* event) {
  // A label that keeps no palette of its own follows its container's; when
  // that one changes, the label's own colours may differ from it now.
  if (attached_ && event->type() == QEvent::PaletteChange && !testAttribute(Qt::WA_SetPalette)) {
    owner_.ApplyColors();
  }
  QLabel::changeEvent(event);
}

void CellLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  const QWidget* area = parentWidget();
  if (frameStyle() == QFrame::NoFrame || area == nullptr || !area->hasFocus()) return;
  QPainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.rect = contentsRect().adjusted(1, 1, -1, -1);
  option.backgroundColor = palette().color(QPalette::Window);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void Label::Fit() {
  const QFontMetrics metrics(label_->font());
  const int frame = label_->frameWidth();
  const double tpp = surface_.TwipsPerPixel();
  width_ =
      static_cast<float>(PixelsToTwips(metrics.horizontalAdvance(label_->text()) + 2 * frame, tpp));
  height_ = static_cast<float>(PixelsToTwips(metrics.height() + 2 * frame, tpp));
  Place();
}

void Label::Place() {
  WidgetImpl::Place();
  if (!auto_size_) FitFont();
}

// The captions are laid out for the design's font; a stand-in font that is
// wider (where that face is not installed) would cut them. A caption that
// does not fit is drawn smaller, down to 60 percent of the design's size,
// and one that still does not fit ends in an ellipsis, so that it is seen
// to be cut.
void Label::FitFont() {
  // What the design's font leaves unset is the one the label inherits.
  const QWidget* parent = label_->parentWidget();
  const QFont inherited = parent != nullptr ? parent->font() : QFont();
  const int available = label_->contentsRect().width();
  if (available == fitted_.available && caption_ == fitted_.caption && font_ == fitted_.design &&
      bold_ == fitted_.bold && inherited == fitted_.inherited && label_->font() == fitted_.font &&
      label_->text() == fitted_.shown) {
    return;
  }
  QFont font = parent != nullptr ? font_.resolve(inherited) : font_;
  if (bold_) font.setBold(true);
  const QString caption = ShownCaption(caption_);
  QString shown = caption;
  if (available > 0 && !caption.isEmpty() && font.pointSizeF() > 0 &&
      !caption.contains(QLatin1Char('\n'))) {
    const qreal needed = Advance(font, caption);
    if (needed > available) {
      // A little under the exact ratio: hinting rounds the smaller font's
      // advances, and a caption that fits must not lose its last letter.
      const qreal scale = std::max<qreal>(0.6, 0.97 * available / needed);
      font.setPointSizeF(font.pointSizeF() * scale);
      if (QFontMetrics(font).horizontalAdvance(caption) > available) {
        shown = QFontMetrics(font).elidedText(caption, Qt::ElideRight, available);
      }
    }
  }
  if (label_->font() != font) label_->setFont(font);
  if (label_->text() != shown) label_->setText(shown);
  fitted_ = {caption_, available, font_, bold_, inherited, label_->font(), shown};
}

void Label::SetCaption(std::u16string_view caption) {
  caption_ = caption;
  label_->setText(ShownCaption(caption_));
  if (auto_size_) {
    Fit();
  } else {
    FitFont();
  }
}

void Label::SetBordered(bool single_line) {
  // A grid sets every cell's border at each fill; most stay as they are.
  if (single_line == bordered_) return;
  const bool chosen = single_line;
  bordered_ = single_line;
  label_->setFrameStyle(bordered_ ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
  if (auto_size_) {
    Fit();
  } else {
    FitFont();
  }
  // A day that becomes the chosen one is told to a screen reader; nothing
  // is sent while no assistive technology listens.
  if (chosen && day_) AnnounceChosenCell(*label_);
}

void Label::SetBold(bool bold) {
  if (bold == bold_) return;
  bold_ = bold;
  if (auto_size_) {
    QFont font = label_->font();
    font.setBold(bold_);
    label_->setFont(font);
    Fit();
  } else {
    FitFont();
  }
}

void Label::SetAlignment(int alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  label_->setAlignment(QtAlignment(alignment_));
}

void Label::SetBackColor(std::uint32_t color) {
  back_color_ = color;
  ApplyColors();
}

void Label::ApplyDueColors() {
  if (back_color_due_) ApplyColors();
}

void Label::ApplyColors() {
  back_color_due_ = false;
  const QPalette palette = PaletteOf(QApplication::palette(label_), back_color_, fore_color_);
  // Many labels are in the colours they would inherit anyway (a day grid's
  // headings on their form): those keep no palette of their own.
  if (!label_->testAttribute(Qt::WA_SetPalette) && palette == label_->palette()) return;
  label_->setPalette(palette);
}

}  // namespace morlex::qt::detail
