#pragma once
// Internal: what every platform widget of the Qt toolkit is, whatever its
// kind: its design's name, index, geometry in twips, visibility, state and
// tab order, and the Qt widget that shows it (or none, for a part that its
// surface's body draws). The helpers that the widget kinds share.

#include <QPalette>
#include <cstdint>
#include <string>
#include <utility>

#include "morlex/platform/design.h"
#include "morlex/platform/designed_widget.h"
#include "morlex/platform/font.h"
#include "morlex/platform/widgets.h"

class QWidget;

namespace morlex::qt::detail {

class Surface;

// What the surface needs of every widget, whatever its kind.
class QtWidget {
 public:
  virtual ~QtWidget() = default;
  // The Qt widget, or nullptr for a part that the surface's body draws.
  virtual QWidget* Q() const = 0;
  virtual platform::Widget& Self() = 0;
  virtual int TabIndex() const = 0;
  virtual bool TabStop() const = 0;
  virtual bool TakesFocus() const = 0;
  virtual Surface& Owner() const = 0;
  // Puts the widget at the pixels of the twips geometry.
  virtual void Place() = 0;
};

// Moves the focus inside surface to widget, as a widget's SetFocus does.
void FocusOn(Surface& surface, platform::Widget& widget);

// What every widget keeps of its design: name, index, geometry in twips,
// visibility, state and tab order.
template <typename Base>
class PartImpl : public platform::DesignedWidget<Base>, public QtWidget {
 public:
  PartImpl(Surface& surface, const platform::WidgetDesign& design)
      : platform::DesignedWidget<Base>(design), surface_(surface) {}

  void SetLeft(float v) override { PlaceWith(this->left_, v); }
  void SetTop(float v) override { PlaceWith(this->top_, v); }
  void SetWidth(float v) override { PlaceWith(this->width_, v); }
  void SetHeight(float v) override { PlaceWith(this->height_, v); }
  void SetFocus() override { FocusOn(surface_, *this); }

  platform::Widget& Self() override { return *this; }
  int TabIndex() const override { return this->tab_index_; }
  bool TabStop() const override { return this->tab_stop_; }
  bool TakesFocus() const override { return false; }
  Surface& Owner() const override { return surface_; }

 protected:
  Surface& surface_;

 private:
  void PlaceWith(float& length, float twips) {
    length = twips;
    Place();
  }
};

// A platform widget that is a Qt widget of its own.
template <typename Base>
class WidgetImpl : public PartImpl<Base> {
 public:
  WidgetImpl(Surface& surface, const platform::WidgetDesign& design, QWidget* widget);
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  QWidget* Q() const override { return widget_; }
  void Place() override;

 protected:
  QWidget* widget_;  // owned by its Qt parent
  QWidget* container_;
};

// --- Shared by the widget kinds -----------------------------------------------------

// Fails with 380, as every setter does for a value out of its range.
[[noreturn]] void InvalidValue();

// Refuses an object that another toolkit made ("widget", "surface", "form").
[[noreturn]] void NotOfThisToolkit(const char* kind);

// Calls a notification handler through a copy: a handler may replace the
// handlers while it runs.
template <typename Handler, typename... Args>
void CallHandler(const Handler& handler, Args&&... args) {
  auto copy = handler;
  if (copy) copy(std::forward<Args>(args)...);
}

using platform::FontOfDesign;

// Sets a palette role from a colour value in the groups the user sees while
// the widget is enabled; a system colour follows the theme of each group.
void SetRole(QPalette& palette, const QPalette& theme, QPalette::ColorRole role,
             std::uint32_t value);

// A background that a design or the host fixes (the calendar's white day
// cells) stays what it is under every theme, while a text colour of the
// system follows the theme: under a dark one that is light text on a light
// background. Where the text would not reach the contrast of readable text
// (4.5 to 1) it is drawn black or white, whichever stands out more. The
// background holds while the widget is disabled too, with the text drawn
// halfway to it, as dimmed as a theme dims it.
void KeepReadable(QPalette& palette, QPalette::ColorRole background, QPalette::ColorRole text);

}  // namespace morlex::qt::detail
