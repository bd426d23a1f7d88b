// How large a form of the Qt toolkit is drawn: at its design size, or larger
// where the fonts its texts are shown in need more room than the design
// gave them (a large application font, a translation's longer words). The
// whole form grows by one factor, so that it keeps the proportions it was
// drawn with, and the fonts the design names grow with it.
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

#include "command_button_p.h"
#include "form_p.h"
#include "label_p.h"
#include "morlex/qt/units.h"
#include "text_box_p.h"
#include "translation_p.h"

namespace morlex::qt::detail {
namespace {

// The factor a form must grow by: the largest of what its widgets need, in
// pixels, over what the design gives them, in twips at the form's scale.
class Growth {
 public:
  explicit Growth(double twips_per_pixel) : tpp_(twips_per_pixel) {}
  // A pixel more than the text needs keeps the rounding of each widget's
  // place from taking the last one.
  void Need(double pixels, double twips) {
    if (pixels > 0 && twips > 0) factor_ = std::max(factor_, (pixels + 1) * tpp_ / twips);
  }
  double Factor() const { return factor_; }

 private:
  double tpp_;
  double factor_ = 1;
};

// A button's text with the padding the style puts around it, as
// QPushButton::sizeHint asks the style for it, less the least width some
// styles give every button with a text (Fusion's 80 pixels): that is a look
// the design's narrower buttons do not share, not room the text needs.
QSize ButtonNeeds(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);  // no text: the style adds only its padding
  QSize contents = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
  if (!button.icon().isNull()) {
    contents.rwidth() += button.iconSize().width() + 4;
    contents.setHeight(std::max(contents.height(), button.iconSize().height()));
  }
  option.rect.setSize(contents);
  return button.style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, &button);
}

// The room below a label that sizes itself: down to the nearest widget of
// its container that lies under it (a weekday heading's grid), in twips;
// 0 when none does.
double RoomBelow(const Label& label, const std::vector<QtWidget*>& widgets) {
  const QWidget* container = label.QtLabel()->parentWidget();
  double room = 0;
  for (QtWidget* w : widgets) {
    const platform::Widget& other = w->Self();
    if (&other == &label || w->Q() == nullptr || w->Q()->parentWidget() != container) continue;
    const double below = other.Top() - label.Top();
    const bool beside = other.Left() + other.Width() <= label.Left() ||
                        label.Left() + label.Width() <= other.Left();
    if (below > 0 && !beside && (room == 0 || below < room)) room = below;
  }
  return room;
}

// The widest digit of a font. The cells of a grid share one font: the last
// answer is kept for the next cell.
double WidestDigit(const QFont& font) {
  // Never destroyed: a font must not be released after the application.
  static QFont& last = *new QFont;
  static double widest = -1;
  if (widest >= 0 && font == last) return widest;
  const QFontMetricsF metrics(font);
  widest = 0;
  for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
    widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
  }
  last = font;
  return widest;
}

// What a label's caption needs in its unfitted font. A day of a month grid
// needs room for any day's two digits inside the chosen day's frame, so
// that every cell of every month shows one font. (Today's bold digits are
// measured where today is shown: loading a bold face for every opening
// would cost more than the rest of the fit, and digits are far narrower
// than a cell is high.)
void NeedOfLabel(const Label& label, const std::vector<QtWidget*>& widgets, Growth& growth) {
  const QFont font = label.UnfittedFont();
  const QFontMetricsF metrics(font);
  const int frame = label.QtLabel()->frameWidth();
  if (label.AutoSize()) {
    // Its width follows its caption (a heading shortens its name instead).
    growth.Need(metrics.height() + 2 * frame, RoomBelow(label, widgets));
    return;
  }
  double border = 2 * frame;
  if (label.Day()) {
    border = 2;  // the chosen day's single line
    growth.Need(2 * WidestDigit(font) + border, label.Width());
  } else {
    const QString text = ShownCaption(label.Caption());
    if (text.isEmpty()) return;
    growth.Need(metrics.horizontalAdvance(text) + border, label.Width());
  }
  growth.Need(metrics.height() + border, label.Height());
}

// What a text box needs for its text and a line in its font: QLineEdit's
// own two pixels each side and one above and below, the caret, the text
// margins (the room of the frame the text box draws from a kept picture)
// and a frame the line edit draws itself.
void NeedOfTextBox(TextBox& box, Growth& growth) {
  const QLineEdit& edit = *box.Edit();
  const QFontMetricsF metrics(QFontFromFont(*box.GetFont()).resolve(edit.parentWidget()->font()));
  const QMargins margins = edit.textMargins();
  const int frame =
      edit.hasFrame() ? 2 * edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit)
                      : 0;
  growth.Need(metrics.horizontalAdvance(edit.text()) + 5 + margins.left() + margins.right() + frame,
              box.Width());
  growth.Need(metrics.height() + 2 + margins.top() + margins.bottom() + frame, box.Height());
}

}  // namespace

void Form::FitToFont() {
  // What the texts need is taken at the design's size, whatever an earlier
  // showing made of it.
  const double before = TextScale();
  SetTextScale(1);
  const double tpp = TwipsPerPixel();
  Growth growth(tpp);
  for (QtWidget* w : Widgets()) {
    platform::Widget& self = w->Self();
    if (!self.Visible()) continue;
    if (auto* button = dynamic_cast<CommandButton*>(&self)) {
      const QSize size = ButtonNeeds(*button->Button());
      growth.Need(size.width(), self.Width());
      growth.Need(size.height(), self.Height());
    } else if (auto* label = dynamic_cast<Label*>(&self)) {
      NeedOfLabel(*label, Widgets(), growth);
    } else if (auto* box = dynamic_cast<TextBox*>(&self)) {
      NeedOfTextBox(*box, growth);
    }
  }
  // Eight times the design is larger than any screen shows whole (and each
  // pixel of the window costs memory): beyond it, a text that still does
  // not fit is drawn smaller by its label (see Label::FitFont).
  constexpr double kLargest = 8;
  const double scale = std::min(growth.Factor(), kLargest);
  SetTextScale(scale);
  if (scale == before) {
    PlaceAll();
    return;
  }
  const double scaled = TwipsPerPixel();
  window_->setFixedSize(TwipsToPixelSize(width_, scaled), TwipsToPixelSize(height_, scaled));
  for (QtWidget* w : Widgets()) {
    platform::Widget& self = w->Self();
    if (auto* label = dynamic_cast<Label*>(&self); label != nullptr && label->AutoSize()) {
      label->Refit();  // the others fit themselves as they are placed
    } else if (auto* box = dynamic_cast<TextBox*>(&self)) {
      // A font the design names grows with the form; the inherited one is
      // already the size it is shown at.
      QFont font = QFontFromFont(*box->GetFont());
      if ((font.resolveMask() & QFont::SizeResolved) != 0 && font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * scale);
        box->Edit()->setFont(font);
      }
    }
  }
  PlaceAll();
}

}  // namespace morlex::qt::detail
