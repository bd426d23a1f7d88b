// The text box of the Qt toolkit: a line edit that keeps its selection and
// its frame's picture, and the platform text box over it.
#include "text_box_p.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <limits>

#include "morlex/control/scoped_flag.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/units.h"
#include "surface_p.h"

namespace morlex::qt::detail {

// --- LineEdit ------------------------------------------------------------------

LineEdit::LineEdit(QWidget* parent)
    : QLineEdit(parent), left_to_right_alignment_(QLineEdit::alignment()) {
  ChooseFrame();
  FollowDirection();
}

// A date's digits run left to right, so a line edit aligns them left even
// right to left. There the parts the surface draws over a text box (the
// spin's arrows) cover its left end: the text keeps to the right edge, as
// a right-to-left text would.
void LineEdit::FollowDirection() {
  const Qt::Alignment wanted = isRightToLeft()
                                   ? Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter
                                   : left_to_right_alignment_;
  if (alignment() != wanted) setAlignment(wanted);
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
  if (event->type() == QEvent::LayoutDirectionChange) FollowDirection();
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
  const ScopedFlag over(painting_over_panel_);
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
    ScopedFlag silent(silent_);
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
    ScopedFlag silent(silent_);
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
  if (!IsSystemColor(back_color_) && IsSystemColor(fore_color_)) {
    KeepReadable(palette, QPalette::Base, QPalette::Text);
  }
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
  if (max_length_ <= 0 || text.isEmpty() || text.at(0).unicode() < platform::kSpace) return false;
  const qsizetype after = edit_->text().size() - edit_->selectedText().size() + text.size();
  return after > max_length_;
}

void TextBox::InsertTyped(std::int16_t code) {
  if (code == platform::kBackspace) {
    edit_->backspace();
    return;
  }
  if (code >= 0 && code < platform::kSpace) return;  // Tab, Enter and other controls insert nothing
  const QString typed(QChar(static_cast<char16_t>(code)));
  if (RefusesTyped(typed)) return;
  edit_->insert(typed);
}

bool TextBox::InsertsTypedDirectly() const {
  return !edit_->isReadOnly() && edit_->echoMode() == QLineEdit::Normal &&
         edit_->completer() == nullptr && edit_->inputMask().isEmpty();
}

}  // namespace morlex::qt::detail
