#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>

#include "morlex_date_widget_p.h"

namespace morlex::qt {

// The pixels the field needs to show a full date of its pattern in the
// text box's font: the widest digit in every place, the line edit's
// margins and frame as its style gives them, the spin arrows lying over
// the text's right end and the calendar button beside it.
QSize MorlexDateWidget::Private::Needed() const {
  platform::Surface& surface = control->ControlSurface();
  const auto* edit = qobject_cast<const QLineEdit*>(WidgetOf(surface.GetTextBox("txtDate")));
  if (edit == nullptr) return {};
  const QFontMetricsF metrics(edit->font());
  QChar widest(u'0');
  for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
    if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest)) {
      widest = QChar(digit);
    }
  }
  QString date = ToQString(RenderSpunDate(Date{9999, 12, 31}, control->DatePattern()));
  for (QChar& c : date) {
    if (c.isDigit()) c = widest;
  }
  const int text = static_cast<int>(std::ceil(metrics.horizontalAdvance(date)));
  const int line = static_cast<int>(std::ceil(metrics.height()));
  // What QLineEdit adds around its text: two pixels each side, one above
  // and below, the caret, and the margins the text box keeps for its frame.
  const QMargins margins = edit->textMargins();
  const int caret = std::max(1, edit->style()->pixelMetric(QStyle::PM_TextCursorWidth));
  const QSize contents(text + 4 + caret + margins.left() + margins.right(),
                       std::max(line, 14) + 2 + margins.top() + margins.bottom());
  QStyleOptionFrame option;
  option.initFrom(edit);
  option.rect = QRect(QPoint(0, 0), contents);
  option.lineWidth = edit->hasFrame()
                         ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                         : 0;
  option.state |= QStyle::State_Sunken;
  const QSize box = edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, edit);
  // The parts are placed in twips, each rounded on its own: a pixel more
  // keeps rounding from taking the last one of the text.
  const double tpp = Tpp();
  int width = box.width() + 1;
  platform::TextBox& text_box = surface.GetTextBox("txtDate");
  platform::UpDown& spin = surface.GetUpDown("spinCTL");
  if (control->Spin() || spin.Visible()) {
    // What the arrows cover of the text box's right end, with their gap.
    const float covered = std::max(spin.Width(), text_box.Width() - spin.Left());
    width += TwipsToPixelSize(covered, tpp) + 1;
  }
  if (control->Calendar()) {
    width += TwipsToPixelSize(surface.GetCommandButton("cmdCalendar").Width(), tpp) + 1;
  }
  // The text box is a little lower than the field (the layout's inset),
  // and as high as a line edit's size hint in the same font.
  const int inset = TwipsToPixelSize(kTextHeightInset, tpp);
  return {width, box.height() + inset};
}

// The size the control last asked for, never narrower than a full date
// needs, and as high as the text box's font needs: a field in a layout looks
// like the line edits beside it.
QSize MorlexDateWidget::sizeHint() const {
  const QSize needed = d->Needed();
  if (!needed.isValid()) return minimumSizeHint();
  return {std::max(needed.width(), TwipsToPixelSize(d->width_twips, d->Tpp())), needed.height()};
}

QSize MorlexDateWidget::minimumSizeHint() const {
  const QSize needed = d->Needed();
  if (needed.isValid()) return needed;
  const double tpp = d->Tpp();
  return {TwipsToPixelSize(d->width_twips, tpp), TwipsToPixelSize(d->height_twips, tpp)};
}

}  // namespace morlex::qt
