// What every platform widget of the Qt toolkit does alike, whatever its kind.
#include "widget_p.h"

#include <QFrame>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <string>

#include "accessibility_p.h"
#include "morlex/core/error.h"
#include "morlex/qt/units.h"
#include "surface_p.h"

namespace morlex::qt::detail {
namespace {

// The relative luminance of a colour, 0 for black to 1 for white, as the
// contrast figures of accessibility guidelines reckon it.
double Luminance(const QColor& color) {
  const auto channel = [](double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
         0.0722 * channel(color.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

void KeepReadable(QPalette& palette, QPalette::ColorRole background, QPalette::ColorRole text) {
  constexpr double kReadable = 4.5;
  const QColor back = palette.color(QPalette::Active, background);
  QColor ink = palette.color(QPalette::Active, text);
  if (Contrast(ink, back) < kReadable) {
    ink = Contrast(Qt::black, back) >= Contrast(Qt::white, back) ? QColor(Qt::black)
                                                                 : QColor(Qt::white);
    palette.setColor(QPalette::Active, text, ink);
    palette.setColor(QPalette::Inactive, text, ink);
  }
  palette.setColor(QPalette::Disabled, background, back);
  palette.setColor(QPalette::Disabled, text,
                   QColor((ink.red() + back.red()) / 2, (ink.green() + back.green()) / 2,
                          (ink.blue() + back.blue()) / 2));
}

[[noreturn]] void InvalidValue() {
  throw Error(errnum::kInvalidValue);
}

[[noreturn]] void NotOfThisToolkit(const char* kind) {
  throw Error(errnum::kInvalidCall, std::string("Not a ") + kind + " of the Qt toolkit");
}

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

// --- PartImpl, WidgetImpl ------------------------------------------------------------

void FocusOn(Surface& surface, platform::Widget& widget) {
  surface.MoveFocus(&widget);
}

template <typename Base>
WidgetImpl<Base>::WidgetImpl(Surface& surface, const platform::WidgetDesign& d, QWidget* widget)
    : PartImpl<Base>(surface, d), widget_(widget), container_(widget->parentWidget()) {
  widget_->setObjectName(QString::fromStdString(
      this->index_ >= 0 ? this->name_ + "_" + std::to_string(this->index_) : this->name_));
  widget_->setEnabled(this->enabled_);
  widget_->setVisible(this->visible_);
  if (const QString name = AccessibleNameOfPart(this->name_); !name.isEmpty()) {
    widget_->setAccessibleName(name);
  }
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
  const QRect area(TwipsToPixels(this->left_, tpp), TwipsToPixels(this->top_, tpp),
                   TwipsToPixelSize(this->width_, tpp), TwipsToPixelSize(this->height_, tpp));
  widget_->setGeometry(this->surface_.Mirrored(area, container_).translated(offset));
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

template class WidgetImpl<platform::TextBox>;
template class WidgetImpl<platform::CommandButton>;
template class WidgetImpl<platform::Label>;
template class WidgetImpl<platform::PictureBox>;
template class WidgetImpl<platform::Image>;
template class WidgetImpl<platform::UpDown>;

}  // namespace morlex::qt::detail
