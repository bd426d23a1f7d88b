// The platform widgets over Qt widgets.
#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOption>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "morlex/core/error.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/units.h"
#include "widgets_p.h"

namespace morlex::qt::detail {
namespace {

[[noreturn]] void InvalidValue() {
  throw Error(errnum::kInvalidValue);
}

// Sets a flag for a scope; Qt calls inside do not throw, but the flag must not
// stay set if one ever did.
class ScopedSet {
 public:
  explicit ScopedSet(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedSet() { flag_ = false; }
  ScopedSet(const ScopedSet&) = delete;
  ScopedSet& operator=(const ScopedSet&) = delete;

 private:
  bool& flag_;
};

// Sets a palette role from a colour value in the groups the user sees while
// the widget is enabled; a system colour follows the theme of each group.
void SetRole(QPalette& palette, const QPalette& theme, QPalette::ColorRole role,
             std::uint32_t value) {
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    const QColor color = IsSystemColor(value)
                             ? theme.color(group, SystemColorRole(static_cast<int>(value & 0xFF)))
                             : ColorFromValue(value, theme);
    palette.setColor(group, role, color);
  }
}

Qt::Alignment QtAlignment(int alignment) {
  const Qt::Alignment horizontal = alignment == 1   ? Qt::AlignRight
                                   : alignment == 2 ? Qt::AlignHCenter
                                                    : Qt::AlignLeft;
  return horizontal | Qt::AlignVCenter;
}

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

// The pixel ratio of what a painter paints on: a widget's own, or that of a
// picture the widget is rendered into (a grab at another ratio).
qreal TargetRatio(QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  const QPaintDevice* target = engine != nullptr ? engine->paintDevice() : painter.device();
  return target != nullptr ? target->devicePixelRatioF() : 1.0;
}

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

// Draws a pair of arrow buttons in size, the upper or lower one pressed
// (+1, -1) or neither (0), with the look of the widget's style.
void DrawArrows(QPainter& painter, const QWidget& widget, QSize size, int pressed, bool enabled,
                bool focus) {
  const int upper = size.height() / 2;
  const QRect halves[2] = {QRect(0, 0, size.width(), upper),
                           QRect(0, upper, size.width(), size.height() - upper)};
  const auto with_state = [&](QStyleOption& option) {
    option.initFrom(&widget);
    if (!enabled) option.state &= ~QStyle::State_Enabled;
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  };
  for (int i = 0; i < 2; ++i) {
    const bool sunken = pressed == (i == 0 ? 1 : -1);
    QStyleOptionButton bevel;
    with_state(bevel);
    bevel.rect = halves[i];
    bevel.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
    widget.style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &bevel, &painter, &widget);

    QStyleOption arrow;
    with_state(arrow);
    arrow.rect = halves[i].adjusted(2, 1, -2, -1).translated(sunken ? 1 : 0, sunken ? 1 : 0);
    widget.style()->drawPrimitive(
        i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow, &painter,
        &widget);
  }
  if (focus) {
    QStyleOptionFocusRect frame;
    frame.initFrom(&widget);
    frame.rect = QRect(QPoint(0, 0), size).adjusted(2, 2, -2, -2);
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, &widget);
  }
}

// Every field's arrows look alike: they are drawn once for each look (size,
// state, colours, style, pixel ratio) and copied from then on. A style
// sheet may style each widget apart: then they are drawn every time.
void PaintArrows(QPainter& painter, const QWidget& widget, const QRect& area, int pressed,
                 bool enabled, bool focus, KeptPictureKey& kept_key) {
  const auto draw = [&](QPainter& on) {
    DrawArrows(on, widget, area.size(), pressed, enabled, focus);
  };
  if (widget.style()->inherits("QStyleSheetStyle")) {
    DrawAt(painter, area, draw);
    return;
  }
  QStyleOption look;
  look.initFrom(&widget);
  look.rect = QRect(QPoint(0, 0), area.size());
  if (!enabled) look.state &= ~QStyle::State_Enabled;
  const qreal ratio = TargetRatio(painter);
  const QString key =
      kept_key.Of(widget, look, ratio, {2, static_cast<quint64>(pressed + 1), focus ? 1U : 0U});
  PaintKept(painter, area.topLeft(), area.size(), ratio, key, draw);
}

// Steps again while an arrow stays pressed (pressed: +1 upper, -1 lower, 0
// none): after 400 ms, then every 60 ms. The timer is made at the first
// press, as a child of owner, which must not outlive pressed: most arrows
// are never held.
void RepeatWhileHeld(QTimer*& timer, QObject* owner, const int& pressed,
                     std::function<void(bool up)> step) {
  if (timer == nullptr) {
    QTimer* made = new QTimer(owner);
    QObject::connect(made, &QTimer::timeout, owner, [made, &pressed, step = std::move(step)] {
      if (pressed == 0) {
        made->stop();
        return;
      }
      made->setInterval(60);
      step(pressed > 0);
    });
    timer = made;
  }
  timer->start(400);
}

// Buttons that show the same picture share one icon and its pixmaps: a
// form with many fields would otherwise scale and keep the picture once per
// field.
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

}  // namespace

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

// --- LineEdit ------------------------------------------------------------------

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {
  ChooseFrame();
}

void LineEdit::initStyleOption(QStyleOptionFrame* option) const {
  QLineEdit::initStyleOption(option);
  // Over the kept panel the line edit's own panel must leave it be; the
  // text takes its colours from the widget's palette, not from here.
  if (painting_over_panel_) option->palette.setBrush(QPalette::Base, Qt::transparent);
}

void LineEdit::FramedOption(QStyleOptionFrame* option) const {
  QLineEdit::initStyleOption(option);
  // What QLineEdit itself puts there when it has a frame.
  option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
}

void LineEdit::ChooseFrame() {
  const bool keep = !style()->inherits("QStyleSheetStyle");
  QMargins margins;
  if (keep) {
    // The text goes where the style puts it inside its frame.
    QStyleOptionFrame framed;
    FramedOption(&framed);
    QStyleOptionFrame bare = framed;
    bare.lineWidth = 0;
    const QRect inside = style()->subElementRect(QStyle::SE_LineEditContents, &framed, this);
    const QRect whole = style()->subElementRect(QStyle::SE_LineEditContents, &bare, this);
    margins = QMargins(inside.left() - whole.left(), inside.top() - whole.top(),
                       whole.right() - inside.right(), whole.bottom() - inside.bottom());
  }
  keeps_frame_picture_ = keep;
  setFrame(!keep);
  if (textMargins() != margins) setTextMargins(margins);
}

void LineEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::StyleChange) ChooseFrame();
}

bool LineEdit::event(QEvent* event) {
  if (surface_ != nullptr && surface_->HandleEvent(this, event)) return true;
  return QLineEdit::event(event);
}

void LineEdit::paintEvent(QPaintEvent* event) {
  PaintOwn(event);
  if (surface_ != nullptr) surface_->PaintPartsOver(*this);
}

void LineEdit::PaintOwn(QPaintEvent* event) {
  if (!keeps_frame_picture_) {
    QLineEdit::paintEvent(event);
    return;
  }
  {
    QStyleOptionFrame framed;
    FramedOption(&framed);
    QPainter painter(this);
    const qreal ratio = TargetRatio(painter);
    const QString key =
        kept_key_.Of(*this, framed, ratio, {1, static_cast<quint64>(framed.lineWidth)});
    PaintKept(painter, framed.rect.topLeft(), framed.rect.size(), ratio, key,
              [&](QPainter& offscreen) {
                QStyleOptionFrame at_origin = framed;
                at_origin.rect.moveTo(0, 0);
                style()->drawPrimitive(QStyle::PE_PanelLineEdit, &at_origin, &offscreen, this);
              });
  }
  const ScopedSet over(painting_over_panel_);
  QLineEdit::paintEvent(event);  // the text, the selection and the caret
}

void LineEdit::focusOutEvent(QFocusEvent* event) {
  const int start = selectionStart();
  const int length = selectionLength();
  const bool caret_at_start = cursorPosition() == start;
  QLineEdit::focusOutEvent(event);
  if (length > 0 && selectionLength() == 0) {
    if (caret_at_start) {
      setSelection(start + length, -length);
    } else {
      setSelection(start, length);
    }
  }
}

// --- PushButton ------------------------------------------------------------------

bool PushButton::event(QEvent* event) {
  if (event->type() == QEvent::PolishRequest) {
    ensurePolished();  // what QWidget does with the request, less the layout request
    return true;
  }
  return QPushButton::event(event);
}

// --- UpDownWidget ----------------------------------------------------------------

UpDownWidget::UpDownWidget(QWidget* parent, std::function<void(bool up)> step)
    : QWidget(parent), step_(std::move(step)) {}

int UpDownWidget::ArrowAt(const QPoint& point) const {
  if (!rect().contains(point)) return 0;
  return point.y() < height() / 2 ? 1 : -1;
}

void UpDownWidget::Step(bool up) {
  Guarded([&] {
    auto step = step_;
    if (step) step(up);
  });
}

void UpDownWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  pressed_ = ArrowAt(event->position().toPoint());
  update();
  if (pressed_ == 0) return;
  RepeatWhileHeld(repeat_, this, pressed_, [this](bool up) { Step(up); });
  Step(pressed_ > 0);
}

void UpDownWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  pressed_ = 0;
  if (repeat_ != nullptr) repeat_->stop();
  update();
}

void UpDownWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    Step(event->key() == Qt::Key_Up);
    return;
  }
  QWidget::keyPressEvent(event);
}

void UpDownWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintArrows(painter, *this, rect(), pressed_, isEnabled(), hasFocus(), kept_key_);
}

// --- PartImpl, WidgetImpl, DrawnImpl ------------------------------------------------

template <typename Base>
PartImpl<Base>::PartImpl(Surface& surface, const platform::WidgetDesign& d)
    : surface_(surface),
      name_(d.name),
      index_(d.index),
      left_(d.left),
      top_(d.top),
      width_(d.width),
      height_(d.height),
      visible_(d.visible),
      enabled_(d.enabled),
      tab_index_(d.tab_index),
      tab_stop_(d.tab_stop) {}

template <typename Base>
void PartImpl<Base>::SetLeft(float v) {
  left_ = v;
  Place();
}
template <typename Base>
void PartImpl<Base>::SetTop(float v) {
  top_ = v;
  Place();
}
template <typename Base>
void PartImpl<Base>::SetWidth(float v) {
  width_ = v;
  Place();
}
template <typename Base>
void PartImpl<Base>::SetHeight(float v) {
  height_ = v;
  Place();
}

template <typename Base>
void PartImpl<Base>::SetFocus() {
  surface_.MoveFocus(this);
}

template <typename Base>
WidgetImpl<Base>::WidgetImpl(Surface& surface, const platform::WidgetDesign& d, QWidget* widget)
    : PartImpl<Base>(surface, d), widget_(widget), container_(widget->parentWidget()) {
  widget_->setObjectName(QString::fromStdString(
      this->index_ >= 0 ? this->name_ + "_" + std::to_string(this->index_) : this->name_));
  widget_->setEnabled(this->enabled_);
  widget_->setVisible(this->visible_);
}

template <typename Base>
void WidgetImpl<Base>::Place() {
  const double tpp = this->surface_.TwipsPerPixel();
  QPoint offset;
  if (container_ != this->surface_.Body()) {
    if (const auto* frame = qobject_cast<const QFrame*>(container_)) {
      offset = frame->contentsRect().topLeft();
    }
  }
  widget_->setGeometry(TwipsToPixels(this->left_, tpp) + offset.x(),
                       TwipsToPixels(this->top_, tpp) + offset.y(),
                       TwipsToPixelSize(this->width_, tpp), TwipsToPixelSize(this->height_, tpp));
}

template <typename Base>
void WidgetImpl<Base>::SetVisible(bool v) {
  this->visible_ = v;
  widget_->setVisible(v);
}

template <typename Base>
void WidgetImpl<Base>::SetEnabled(bool v) {
  this->enabled_ = v;
  widget_->setEnabled(v);
}

template <typename Base>
DrawnImpl<Base>::DrawnImpl(Surface& surface, const platform::WidgetDesign& d)
    : PartImpl<Base>(surface, d) {}

template <typename Base>
void DrawnImpl<Base>::Place() {
  const double tpp = this->surface_.TwipsPerPixel();
  const QRect area(TwipsToPixels(this->left_, tpp), TwipsToPixels(this->top_, tpp),
                   TwipsToPixelSize(this->width_, tpp), TwipsToPixelSize(this->height_, tpp));
  if (area == area_) return;
  Repaint();
  area_ = area;
  Repaint();
}

template <typename Base>
void DrawnImpl<Base>::SetVisible(bool v) {
  if (v == this->visible_) return;
  this->visible_ = v;
  Repaint();
}

template <typename Base>
void DrawnImpl<Base>::SetEnabled(bool v) {
  if (v == this->enabled_) return;
  this->enabled_ = v;
  Repaint();
}

template <typename Base>
bool DrawnImpl<Base>::Usable() const {
  const QWidget* body = this->surface_.Body();
  return this->enabled_ && body != nullptr && body->isEnabled();
}

template <typename Base>
void DrawnImpl<Base>::Repaint() const {
  QWidget* body = this->surface_.Body();
  if (body != nullptr && !area_.isEmpty()) body->update(area_);
}

template class PartImpl<platform::TextBox>;
template class PartImpl<platform::CommandButton>;
template class PartImpl<platform::Label>;
template class PartImpl<platform::PictureBox>;
template class PartImpl<platform::Image>;
template class PartImpl<platform::UpDown>;
template class WidgetImpl<platform::TextBox>;
template class WidgetImpl<platform::CommandButton>;
template class WidgetImpl<platform::Label>;
template class WidgetImpl<platform::PictureBox>;
template class WidgetImpl<platform::Image>;
template class WidgetImpl<platform::UpDown>;
template class DrawnImpl<platform::CommandButton>;
template class DrawnImpl<platform::UpDown>;

// --- TextBox ---------------------------------------------------------------------

TextBox::TextBox(Surface& surface, const platform::WidgetDesign& d, QWidget* parent)
    : WidgetImpl(surface, d, new LineEdit(parent)),
      edit_(static_cast<LineEdit*>(widget_)),
      max_length_(d.max_length),
      back_color_(d.back_color.value_or(platform::kColorWindow)),
      fore_color_(d.fore_color.value_or(platform::kColorWindowText)) {
  // Texts that the control or the host sets are never cut; typed keys are
  // held to max_length_ by the surface's key handling instead.
  edit_->setMaxLength(std::numeric_limits<int>::max());
  // Every character must arrive as a key, through the key preview and the
  // key handler; an input method would insert text around them.
  edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit_->setFocusPolicy(tab_stop_ ? Qt::StrongFocus : Qt::ClickFocus);
  edit_->SetSurface(&surface);
  font_ = std::make_shared<platform::Font>(FontOfDesign(d.font.value_or(surface.DesignFont())));
  edit_->setFont(QFontFromFont(*font_));
  ApplyColors();
  QObject::connect(edit_, &QLineEdit::textChanged, surface.Context(), [this] {
    if (!silent_) Guarded([this] { NotifyChange(); });
  });
}

void TextBox::NotifyChange() {
  auto change = events.Change;  // a handler may replace the handlers
  if (change) change();
}

std::u16string TextBox::Text() const {
  return FromQString(edit_->text());
}

void TextBox::SetText(std::u16string_view text) {
  const QString next = ToQString(text);
  const bool changed = edit_->text() != next;
  {
    ScopedSet silent(silent_);
    if (changed) edit_->setText(next);
    edit_->setCursorPosition(0);
  }
  // Outside Qt's signal: a failing Change handler comes back from SetText.
  if (changed) NotifyChange();
}

int TextBox::SelStart() const {
  return edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
}

void TextBox::SetSelStart(int position) {
  if (position < 0) InvalidValue();
  edit_->setCursorPosition(std::min(position, static_cast<int>(edit_->text().size())));
}

int TextBox::SelLength() const {
  return edit_->selectionLength();
}

void TextBox::SetSelLength(int length) {
  if (length < 0) InvalidValue();
  const int start = SelStart();
  length = std::min(length, static_cast<int>(edit_->text().size()) - start);
  if (length <= 0) {
    edit_->setCursorPosition(start);
  } else {
    edit_->setSelection(start, length);
  }
}

std::u16string TextBox::SelText() const {
  return FromQString(edit_->selectedText());
}

void TextBox::SetSelText(std::u16string_view text) {
  const QString before = edit_->text();
  const int start = SelStart();
  const int length = SelLength();
  QString after = before;
  after.replace(start, length, ToQString(text));
  {
    ScopedSet silent(silent_);
    if (after != before) edit_->setText(after);
    edit_->setCursorPosition(start + static_cast<int>(text.size()));
  }
  if (after != before) NotifyChange();
}

void TextBox::SetMaxLength(int length) {
  if (length < 0) InvalidValue();
  max_length_ = length;
}

void TextBox::ApplyColors() {
  // The system's own window colours are what a line edit paints with
  // anyway: no palette of its own, which would cost each field a copy.
  if (back_color_ == platform::kColorWindow && fore_color_ == platform::kColorWindowText) {
    if (edit_->testAttribute(Qt::WA_SetPalette)) edit_->setPalette(QPalette());
    return;
  }
  const QPalette theme = QApplication::palette(edit_);
  QPalette palette = theme;
  SetRole(palette, theme, QPalette::Base, back_color_);
  SetRole(palette, theme, QPalette::Text, fore_color_);
  edit_->setPalette(palette);
}

void TextBox::SetBackColor(std::uint32_t color) {
  back_color_ = color;
  ApplyColors();
}

void TextBox::SetForeColor(std::uint32_t color) {
  fore_color_ = color;
  ApplyColors();
}

void TextBox::SetFont(platform::FontRef font) {
  if (!font) InvalidValue();
  font_ = std::move(font);
  edit_->setFont(QFontFromFont(*font_));
}

void TextBox::SetToolTipText(std::u16string_view text) {
  tool_tip_ = text;
  edit_->setToolTip(ToQString(text));
}

bool TextBox::RefusesTyped(const QString& text) const {
  if (max_length_ <= 0 || text.isEmpty() || text.at(0).unicode() < 32) return false;
  const qsizetype after = edit_->text().size() - edit_->selectedText().size() + text.size();
  return after > max_length_;
}

void TextBox::InsertTyped(std::int16_t code) {
  if (code == 8) {
    edit_->backspace();
    return;
  }
  if (code >= 0 && code < 32) return;  // Tab, Enter and other controls insert nothing
  const QString typed(QChar(static_cast<char16_t>(code)));
  if (RefusesTyped(typed)) return;
  edit_->insert(typed);
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
  button_->setText(ToQString(caption_));
  if (d.font) {
    button_->setFont(QFontFromFont(FontOfDesign(*d.font)));
  } else if (!surface.OwnsBody()) {
    button_->setFont(surface.SurfaceFont());  // the body's font is its owner's
  }
  if (!d.picture.empty()) picture_ = ArtworkPicture(d.picture);
  RefreshPicture();
  QObject::connect(button_, &QAbstractButton::clicked, surface.Context(), [this] {
    Guarded([this] {
      auto click = Click;
      if (click) click();
    });
  });
}

void CommandButton::SetCaption(std::u16string_view caption) {
  caption_ = caption;
  button_->setText(ToQString(caption_));
}

void CommandButton::RefreshPicture() {
  if (picture_.isNull()) return;
  button_->setIcon(SharedIcon(picture_));
  button_->setIconSize(picture_.size());
}

// --- Label ---------------------------------------------------------------------------

Label::Label(Surface& surface, const platform::WidgetDesign& d, QWidget* parent)
    : WidgetImpl(surface, d, new QLabel(parent)),
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
  label_->setText(ToQString(caption_));
  label_->setAlignment(QtAlignment(alignment_));
  label_->setFrameStyle(bordered_ ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
  SetBackColor(back_color_);
  if (auto_size_) Fit();
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
  QFont font = font_;
  const QString caption = ToQString(caption_);
  QString shown = caption;
  const int available = label_->contentsRect().width();
  if (available > 0 && !caption.isEmpty() && font.pointSizeF() > 0 &&
      !caption.contains(QLatin1Char('\n'))) {
    const qreal needed = QFontMetricsF(font).horizontalAdvance(caption);
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
}

void Label::SetCaption(std::u16string_view caption) {
  caption_ = caption;
  label_->setText(ToQString(caption_));
  if (auto_size_) {
    Fit();
  } else {
    FitFont();
  }
}

void Label::SetBordered(bool single_line) {
  bordered_ = single_line;
  label_->setFrameStyle(bordered_ ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
  if (auto_size_) {
    Fit();
  } else {
    FitFont();
  }
}

void Label::SetAlignment(int alignment) {
  alignment_ = alignment;
  label_->setAlignment(QtAlignment(alignment_));
}

void Label::SetBackColor(std::uint32_t color) {
  back_color_ = color;
  const QPalette theme = QApplication::palette(label_);
  QPalette palette = theme;
  SetRole(palette, theme, QPalette::Window, back_color_);
  SetRole(palette, theme, QPalette::WindowText, fore_color_);
  label_->setPalette(palette);
}

// --- PictureBox, Image -----------------------------------------------------------------

PictureBox::PictureBox(Surface& surface, const platform::WidgetDesign& d, QWidget* parent)
    : WidgetImpl(surface, d, new QFrame(parent)), frame_(static_cast<QFrame*>(widget_)) {
  if (d.border_style != 0) {
    frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame_->setLineWidth(2);
  } else {
    frame_->setFrameStyle(QFrame::NoFrame);
  }
  frame_->setFocusPolicy(tab_stop_ ? Qt::TabFocus : Qt::NoFocus);
  frame_->setAutoFillBackground(true);
  const QPalette theme = QApplication::palette(frame_);
  QPalette palette = theme;
  SetRole(palette, theme, QPalette::Window, d.back_color.value_or(platform::kColorButtonFace));
  frame_->setPalette(palette);
}

float PictureBox::ScaleWidth() const {
  const double border = PixelsToTwips(2 * frame_->frameWidth(), surface_.TwipsPerPixel());
  return std::max(0.0F, static_cast<float>(width_ - border));
}

float PictureBox::ScaleHeight() const {
  const double border = PixelsToTwips(2 * frame_->frameWidth(), surface_.TwipsPerPixel());
  return std::max(0.0F, static_cast<float>(height_ - border));
}

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

// --- UpDown --------------------------------------------------------------------------

UpDown::UpDown(Surface& surface, const platform::WidgetDesign& d, QWidget* parent)
    : WidgetImpl(surface, d,
                 new UpDownWidget(parent,
                                  [this](bool up) {
                                    if (enabled_) Press(up);
                                  })),
      arrows_(static_cast<UpDownWidget*>(widget_)),
      min_(d.min),
      max_(d.max),
      increment_(d.increment) {
  // The field's arrows leave the keyboard focus where it is, as a spin box's
  // arrows do; an up-down that is a tab stop takes it from Tab and steps
  // with the arrow keys.
  arrows_->setFocusPolicy(tab_stop_ ? Qt::StrongFocus : Qt::NoFocus);
}

namespace {

// An up-down's value written by the control: inside the range, and a
// change notice only when it changes.
template <typename Handler>
void SetUpDownValue(int& value, int next, int min, int max, const Handler& change) {
  if (next < min || next > max) InvalidValue();
  if (next == value) return;
  value = next;
  auto handler = change;  // a handler may replace the handlers
  if (handler) handler();
}

// The value one press of an arrow gives: a step, held within the range.
int SteppedValue(int value, bool up, int increment, int min, int max) {
  const long long next = static_cast<long long>(value) + (up ? increment : -increment);
  return static_cast<int>(std::clamp<long long>(next, min, max));
}

}  // namespace

void UpDown::SetValue(int value) {
  SetUpDownValue(value_, value, min_, max_, Change);
}

void UpDown::Press(bool up) {
  const int next = SteppedValue(value_, up, increment_, min_, max_);
  if (next != value_) SetValue(next);
}

// --- DrawnUpDown -------------------------------------------------------------------

DrawnUpDown::DrawnUpDown(Surface& surface, const platform::WidgetDesign& d)
    : DrawnImpl(surface, d), min_(d.min), max_(d.max), increment_(d.increment) {}

void DrawnUpDown::SetValue(int value) {
  SetUpDownValue(value_, value, min_, max_, Change);
}

void DrawnUpDown::Press(bool up) {
  const int next = SteppedValue(value_, up, increment_, min_, max_);
  if (next != value_) SetValue(next);
}

int DrawnUpDown::ArrowAt(QPoint at) const {
  if (!area_.contains(at)) return 0;
  return at.y() - area_.top() < area_.height() / 2 ? 1 : -1;
}

void DrawnUpDown::Step(bool up) {
  // Arrows hidden or disabled while held step no further.
  Guarded([&] {
    if (Usable() && Shown()) Press(up);
  });
}

void DrawnUpDown::Paint(QPainter& painter, const QWidget& body) {
  PaintArrows(painter, body, area_, pressed_, Usable(), false, kept_key_);
}

void DrawnUpDown::MousePress(QPoint at) {
  if (!Usable()) return;
  pressed_ = ArrowAt(at);
  Repaint();
  if (pressed_ == 0) return;
  // The surface's context goes before the parts do.
  RepeatWhileHeld(repeat_, surface_.Context(), pressed_, [this](bool up) { Step(up); });
  Step(pressed_ > 0);
}

void DrawnUpDown::MouseRelease(QPoint) {
  if (repeat_ != nullptr) repeat_->stop();
  if (pressed_ == 0) return;
  pressed_ = 0;
  Repaint();
}

// --- DrawnButton -------------------------------------------------------------------

DrawnButton::DrawnButton(Surface& surface, const platform::WidgetDesign& d)
    : DrawnImpl(surface, d), caption_(d.caption) {
  if (d.font) font_ = QFontFromFont(FontOfDesign(*d.font));
  if (!d.picture.empty()) {
    const QImage picture = ArtworkPicture(d.picture);
    if (!picture.isNull()) {
      icon_ = SharedIcon(picture);
      icon_size_ = picture.size();
    }
  }
}

void DrawnButton::SetCaption(std::u16string_view caption) {
  caption_ = caption;
  Repaint();
}

void DrawnButton::Clicked() {
  Guarded([this] {
    auto click = Click;
    if (click) click();
  });
}

void DrawnButton::Paint(QPainter& painter, const QWidget& body) {
  QStyleOptionButton option;
  option.initFrom(&body);
  option.rect = QRect(QPoint(0, 0), area_.size());
  option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  if (!Usable()) option.state &= ~QStyle::State_Enabled;
  if (hovered_ && Usable()) option.state |= QStyle::State_MouseOver;
  option.state |= Sunken() ? QStyle::State_Sunken : QStyle::State_Raised;
  option.text = ToQString(caption_);
  option.icon = icon_;
  option.iconSize = icon_size_;
  const QFont font = font_.value_or(surface_.SurfaceFont());
  option.fontMetrics = QFontMetrics(font);
  const auto draw = [&](QPainter& on) {
    on.setFont(font);
    body.style()->drawControl(QStyle::CE_PushButton, &option, &on, &body);
  };
  if (body.style()->inherits("QStyleSheetStyle")) {
    DrawAt(painter, area_, draw);
    return;
  }
  const qreal ratio = TargetRatio(painter);
  const QString key = kept_key_.Of(
      body, option, ratio,
      {3, static_cast<quint64>(icon_.cacheKey()), qHash(option.text), qHash(font.key())});
  PaintKept(painter, area_.topLeft(), area_.size(), ratio, key, draw);
}

void DrawnButton::Hover(bool over) {
  if (over == hovered_) return;
  hovered_ = over;
  Repaint();
}

void DrawnButton::MousePress(QPoint at) {
  if (!Usable()) return;
  pressed_ = true;
  over_ = area_.contains(at);
  Repaint();
}

void DrawnButton::MouseDrag(QPoint at) {
  if (!pressed_) return;
  const bool over = area_.contains(at);
  if (over == over_) return;
  over_ = over;
  Repaint();
}

void DrawnButton::MouseRelease(QPoint at) {
  if (!pressed_) return;
  pressed_ = false;
  over_ = area_.contains(at);
  Repaint();
  if (over_ && Usable() && Shown()) Clicked();
}

}  // namespace morlex::qt::detail
