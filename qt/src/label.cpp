// The label of the Qt toolkit.
#include "label_p.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <algorithm>
#include <iterator>
#include <memory>
#include <unordered_map>
#include <vector>

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

// A label's palette for its colours on a theme. The last few made are kept
// and shared: a day grid's cells and headings ask for a few at each paint,
// and making one copies and changes a palette.
QPalette PaletteOf(const QPalette& theme, std::uint32_t back, std::uint32_t fore) {
  struct Made {
    qint64 theme = 0;
    std::uint32_t back = 0;
    std::uint32_t fore = 0;
    QPalette palette;
  };
  static Made made[4];
  static std::size_t next = 0;
  const qint64 key = theme.cacheKey();
  for (const Made& m : made) {
    if (m.theme == key && m.back == back && m.fore == fore) return m.palette;
  }
  QPalette palette = theme;
  SetRole(palette, theme, QPalette::Window, back);
  SetRole(palette, theme, QPalette::WindowText, fore);
  if (!IsSystemColor(back) && IsSystemColor(fore)) {
    KeepReadable(palette, QPalette::Window, QPalette::WindowText);
  }
  made[next] = {key, back, fore, palette};
  next = (next + 1) % std::size(made);
  return palette;
}

// A single line of text laid out in a font, as QPainter::drawText lays it
// out for a rectangle: the same line, drawn at the same place, gives the
// same pixels. Laying out shapes the text, which costs several times what
// drawing it does, and a day grid draws the same few numbers in one or two
// fonts at every paint: the lines are kept, per font and resolution, until
// the fonts installed change or the application ends (its fonts must not
// outlive it).
class LaidOutLines {
 public:
  static const QTextLine* Find(const QFont& font, const QPaintDevice& device, const QString& text) {
    const int dpi = device.logicalDpiY();
    const qreal ratio = device.devicePixelRatioF();
    if (qGuiApp == nullptr) return nullptr;
    LaidOutLines& kept = Instance();
    if (kept.application_ != qGuiApp) {
      kept.Clear();
      kept.application_ = qGuiApp;
      qAddPostRoutine([] { Instance().Clear(); });
      QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, qGuiApp,
                       [] { Instance().fonts_.clear(); });
    }
    auto font_it =
        std::find_if(kept.fonts_.begin(), kept.fonts_.end(), [&](const std::unique_ptr<InFont>& f) {
          return f->dpi == dpi && f->ratio == ratio && f->font == font;
        });
    if (font_it == kept.fonts_.end()) {
      if (kept.fonts_.size() >= 8) kept.fonts_.clear();
      kept.fonts_.push_back(std::make_unique<InFont>(InFont{font, dpi, ratio, {}}));
      font_it = kept.fonts_.end() - 1;
    }
    auto& lines = (*font_it)->lines;
    auto found = lines.find(text);
    if (found == lines.end()) {
      if (lines.size() >= 256) lines.clear();
      found = lines.emplace(text, LayOut(font, device, text)).first;
    }
    return &found->second.line;
  }

 private:
  struct Line {
    std::unique_ptr<QTextLayout> layout;
    QTextLine line;
  };
  struct InFont {
    QFont font;
    int dpi;
    qreal ratio;
    std::unordered_map<QString, Line> lines;
  };

  static LaidOutLines& Instance() {
    // Never destroyed: what it holds goes with the application (above).
    static LaidOutLines& kept = *new LaidOutLines;
    return kept;
  }
  void Clear() {
    fonts_.clear();
    application_ = nullptr;
  }
  static Line LayOut(const QFont& font, const QPaintDevice& device, const QString& text) {
    auto layout = std::make_unique<QTextLayout>(text, font, &device);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLineWidth(0x01000000);
    line.setPosition(QPointF(0, 0));
    layout->endLayout();
    return {std::move(layout), line};
  }

  QGuiApplication* application_ = nullptr;
  std::vector<std::unique_ptr<InFont>> fonts_;
};

// Draws a caption as the Fusion style draws a label's text (QLabel asks the
// style, which asks QPainter::drawText), from a kept line. False where that
// does not hold (another style, several lines, right to left, decorated
// fonts): the caller asks the style then.
bool DrawKeptLine(QPainter& painter, const QWidget& label, const QRect& r, int flags,
                  const QString& text, const QBrush& ink) {
  if (qstrcmp(label.style()->metaObject()->className(), "QFusionStyle") != 0) return false;
  if ((flags & Qt::TextForceLeftToRight) == 0 || (flags & Qt::TextShowMnemonic) != 0) return false;
  const QFont& font = painter.font();
  if (font.underline() || font.overline() || font.strikeOut()) return false;
  for (const QChar c : text) {
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t') ||
        c == QChar::LineSeparator || c.unicode() == 0x9c) {
      return false;
    }
  }
  const QTextLine* line = LaidOutLines::Find(font, *painter.device(), text);
  if (line == nullptr || !line->isValid()) return false;
  // The offsets that drawText gives: whole pixels where the painter does no
  // more than scale, and the text clipped to the rectangle if it overflows.
  const QTransform& transform = painter.transform();
  const bool scaled = transform.type() <= QTransform::TxScale;
  const qreal width = line->naturalTextWidth();
  const qreal height = line->height();
  qreal yoff = 0;
  qreal xoff = 0;
  if (flags & Qt::AlignBottom) {
    yoff = r.height() - height;
  } else if (flags & Qt::AlignVCenter) {
    yoff = (r.height() - height) / 2;
    if (scaled && transform.m22() != 0) yoff = -qRound(-yoff * transform.m22()) / transform.m22();
  }
  if (flags & Qt::AlignRight) {
    xoff = r.width() - width;
  } else if (flags & Qt::AlignHCenter) {
    xoff = (r.width() - width) / 2;
    if (scaled && transform.m11() != 0) xoff = qRound(xoff * transform.m11()) / transform.m11();
  }
  const bool clip = !QRectF(r).contains(QRectF(r.x() + xoff, r.y() + yoff, width, height));
  const qreal advance = line->horizontalAdvance();
  xoff = 0;
  if (flags & Qt::AlignRight) {
    xoff = r.width() - advance;
  } else if (flags & Qt::AlignHCenter) {
    xoff = (r.width() - advance) / 2;
  }
  if (clip) {
    painter.save();
    painter.setClipRect(r, Qt::IntersectClip);
  }
  const QPen pen = painter.pen();
  painter.setPen(QPen(ink, pen.widthF()));
  line->draw(&painter, QPointF(r.x() + xoff, r.y() + yoff));
  painter.setPen(pen);
  if (clip) painter.restore();
  return true;
}

// The width of a caption in a font. Measuring shapes the text, and a day
// grid measures the same few captions in its few fonts at each fill: the
// widths are kept for the last fonts, until the fonts installed or the
// application change.
qreal Advance(const QFont& font, const QString& caption) {
  struct InFont {
    QFont font;
    QHash<QString, qreal> widths;
  };
  struct Kept {
    QPointer<QGuiApplication> application;  // null once it is gone
    std::vector<InFont> fonts;
  };
  // Never destroyed: a font must not be released after the application.
  static Kept& kept = *new Kept;
  if (qGuiApp != nullptr && kept.application != qGuiApp) {
    kept.application = qGuiApp;
    for (InFont& f : kept.fonts) f.widths.clear();
    QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, qGuiApp, [] {
      for (InFont& f : kept.fonts) f.widths.clear();
    });
  }
  auto in = std::find_if(kept.fonts.begin(), kept.fonts.end(),
                         [&](const InFont& f) { return f.font == font; });
  if (in == kept.fonts.end()) {
    if (kept.fonts.size() >= 4) kept.fonts.erase(kept.fonts.begin());
    kept.fonts.push_back({font, {}});
    in = kept.fonts.end() - 1;
  }
  if (in->widths.size() > 256) in->widths.clear();
  const auto found = in->widths.constFind(caption);
  if (found != in->widths.constEnd()) return *found;
  const qreal width = QFontMetricsF(font).horizontalAdvance(caption);
  in->widths.insert(caption, width);
  return width;
}

// A weekday's name in a shorter form where the one given is wider than
// room pixels: a heading over a narrow column shows "Mon", then "M", rather
// than running into the next column. Every heading of a row has the same
// room and takes the longest form in which all seven names fit it, so that
// the row reads alike. The names are the locale's in which the form spells
// its headings; a caption that names no weekday is kept.
QString ShorterWeekday(const QString& caption, const QFont& font, int room, const QLocale& locale) {
  if (room <= 0 || caption.isEmpty()) return caption;
  // The names of a locale, kept: a grid's seven headings ask for the same
  // ones at each fit. Each form's standalone names, and those of its long
  // and short forms as a date spells them, which a caption may be too.
  constexpr QLocale::FormatType kForms[] = {QLocale::LongFormat, QLocale::ShortFormat,
                                            QLocale::NarrowFormat};
  constexpr std::size_t kCount = std::size(kForms);
  struct Names {
    QLocale locale;
    QString standalone[kCount][7];
    QString in_dates[kCount - 1][7];
  };
  static Names* kept = nullptr;  // never destroyed: it holds only strings
  if (kept == nullptr || kept->locale != locale) {
    if (kept == nullptr) kept = new Names;
    kept->locale = locale;
    for (std::size_t form = 0; form < kCount; ++form) {
      for (int day = 1; day <= 7; ++day) {
        kept->standalone[form][day - 1] = locale.standaloneDayName(day, kForms[form]);
        if (form + 1 < kCount) kept->in_dates[form][day - 1] = locale.dayName(day, kForms[form]);
      }
    }
  }
  const auto all_fit = [&](std::size_t form) {
    for (const QString& name : kept->standalone[form]) {
      if (Advance(font, name) > room) return false;
    }
    return true;
  };
  for (std::size_t form = 0; form + 1 < kCount; ++form) {
    for (int day = 0; day < 7; ++day) {
      if (caption != kept->standalone[form][day] && caption != kept->in_dates[form][day]) continue;
      std::size_t fitting = form;
      while (fitting + 1 < kCount && !all_fit(fitting)) ++fitting;
      return fitting == form ? caption : kept->standalone[fitting][day];
    }
  }
  return caption;
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
  font_ = d.font ? QFontFromFont(FontOfDesign(*d.font)) : surface.SurfaceFont();
  label_->setFont(font_);
  label_->setText(ShownCaption(caption_));
  label_->setAlignment(QtAlignment(alignment_));
  // A new label has no frame.
  if (bordered_) label_->setFrameStyle(QFrame::Box | QFrame::Plain);
  SetOpaque();
  if (auto_size_) Fit();
}

QPalette CellLabel::Colours() const {
  // palette() is the one the label inherits, in the colour group of its
  // state; the label's own colours stand in it for their roles.
  QPalette colours = PaletteOf(QApplication::palette(this), owner_.BackColor(), owner_.ForeColor());
  colours.setCurrentColorGroup(palette().currentColorGroup());
  return colours;
}

bool CellLabel::event(QEvent* event) {
  // The colours are taken from the application's palette at each paint.
  if (event->type() == QEvent::ApplicationPaletteChange) {
    owner_.SetOpaque();
    update();
  }
  return QLabel::event(event);
}

// What QLabel draws for a plain text, in the label's own colours.
void CellLabel::paintEvent(QPaintEvent*) {
  const QPalette colours = Colours();
  QPainter painter(this);
  painter.fillRect(rect(), colours.brush(backgroundRole()));
  if (frameShape() != QFrame::NoFrame) {
    QStyleOptionFrame frame;
    initStyleOption(&frame);
    frame.palette = colours;
    style()->drawControl(QStyle::CE_ShapedFrame, &frame, &painter, this);
  }
  const QString& shown = text();
  if (!shown.isEmpty()) {
    const int m = margin();
    const QRect area = contentsRect().adjusted(m, m, -m, -m);
    const bool left_to_right = !shown.isRightToLeft();
    int flags = static_cast<int>(QStyle::visualAlignment(
                    left_to_right ? Qt::LeftToRight : Qt::RightToLeft, alignment())) |
                (left_to_right ? Qt::TextForceLeftToRight : Qt::TextForceRightToLeft);
    // A label with a buddy underlines its mnemonic, where the style does.
    if (buddy() != nullptr && shown.contains(QLatin1Char('&'))) {
      flags |= Qt::TextShowMnemonic;
      QStyleOption option;
      option.initFrom(this);
      if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this)) {
        flags |= Qt::TextHideMnemonic;
      }
    }
    const QBrush& ink = colours.brush(foregroundRole());
    // Only the day numbers come from kept lines: drawn there they give the
    // pixels drawText gives at every scale, which does not hold for every
    // font and rectangle (a heading's short cell at a scaled-up rendering,
    // the about box's fractional font sizes), and they are what a grid
    // draws over and over.
    if (!owner_.Day() || !DrawKeptLine(painter, *this, area, flags, shown, ink)) {
      style()->drawItemText(&painter, area, flags, colours, isEnabled(), shown, foregroundRole());
    }
  }
  const QWidget* grid = parentWidget();
  if (frameShape() == QFrame::NoFrame || grid == nullptr || !grid->hasFocus()) return;
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.palette = colours;
  option.rect = contentsRect().adjusted(1, 1, -1, -1);
  option.backgroundColor = colours.color(QPalette::Window);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void Label::Fit() {
  const int frame = label_->frameWidth();
  const double tpp = surface_.TwipsPerPixel();
  if (room_ > 0) {
    const QString shown = ShorterWeekday(ShownCaption(caption_), label_->font(),
                                         TwipsToPixelSize(room_, tpp) - 2 * frame, QLocale());
    if (label_->text() != shown) label_->setText(shown);
  }
  const QFontMetrics metrics(label_->font());
  // The same width as metrics.horizontalAdvance, from the kept widths.
  const int advance = qRound(Advance(label_->font(), label_->text()));
  width_ = static_cast<float>(PixelsToTwips(advance + 2 * frame, tpp));
  height_ = static_cast<float>(PixelsToTwips(metrics.height() + 2 * frame, tpp));
  Place();
}

void Label::Place() {
  WidgetImpl::Place();
  if (!auto_size_) FitFont();
}

void Label::SetWidth(float v) {
  if (auto_size_) room_ = v;
  WidgetImpl::SetWidth(v);
}

QFont Label::UnfittedFont() const {
  const QWidget* parent = label_->parentWidget();
  QFont font = parent != nullptr ? font_.resolve(parent->font()) : font_;
  const double scale = surface_.TextScale();
  if (scale != 1 && (font_.resolveMask() & QFont::SizeResolved) != 0 && font.pointSizeF() > 0) {
    font.setPointSizeF(font.pointSizeF() * scale);
  }
  if (bold_) font.setBold(true);
  return font;
}

void Label::Refit() {
  if (!auto_size_) {
    FitFont();
    return;
  }
  if ((font_.resolveMask() & QFont::SizeResolved) != 0) label_->setFont(UnfittedFont());
  Fit();
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
  const double scale = surface_.TextScale();
  if (available == fitted_.available && caption_ == fitted_.caption && font_ == fitted_.design &&
      bold_ == fitted_.bold && scale == fitted_.scale && inherited == fitted_.inherited &&
      label_->font() == fitted_.font && label_->text() == fitted_.shown) {
    return;
  }
  QFont font = UnfittedFont();
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
  fitted_ = {caption_, available, font_, bold_, scale, inherited, label_->font(), shown};
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

void Label::SetDay(const std::optional<Date>& day) {
  day_ = day;
  // The third row's first cell always lies in the shown month (its first
  // day falls in the first row), so its day tells the month of every fill.
  constexpr int kShownMonthCell = 14;
  if (day_ && Index() == kShownMonthCell && Name() == "lblDay") {
    AnnounceShownMonth(*label_, day_->month, day_->year);
  }
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
  if (color == back_color_) return;
  back_color_ = color;
  SetOpaque();
  label_->update();
}

// Where the background is opaque Qt need not draw what lies under the
// label, as for a QLabel that fills its background.
void Label::SetOpaque() {
  const QPalette colours = static_cast<CellLabel*>(label_)->Colours();
  label_->setAttribute(Qt::WA_OpaquePaintEvent, colours.brush(QPalette::Window).isOpaque());
}

}  // namespace morlex::qt::detail
