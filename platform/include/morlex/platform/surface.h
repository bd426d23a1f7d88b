#pragma once
// A surface built from a design: the control's own surface, or a form. Its
// widgets are found by name, and members of a widget array by name and
// index; a name or index that names no widget fails with morlex::Error.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "morlex/platform/date_names.h"
#include "morlex/platform/widgets.h"

namespace morlex::platform {

class Surface {
 public:
  virtual ~Surface() = default;

  virtual TextBox& GetTextBox(std::string_view name) = 0;
  virtual CommandButton& GetCommandButton(std::string_view name) = 0;
  virtual Label& GetLabel(std::string_view name, int index = -1) = 0;
  virtual PictureBox& GetPictureBox(std::string_view name) = 0;
  virtual Image& GetImage(std::string_view name) = 0;
  virtual UpDown& GetUpDown(std::string_view name) = 0;

  // With key preview on, every character key typed into a widget of the
  // surface reaches this first; setting the code to 0 drops the key.
  std::function<void(std::int16_t& key_ascii)> KeyPreview;
};

struct FormEvents {
  std::function<void()> Activate;
  // The window's own close command; the form is unloaded afterwards.
  std::function<void()> Close;
};

class Form : public virtual Surface {
 public:
  virtual std::u16string Caption() const = 0;
  virtual void SetCaption(std::u16string_view caption) = 0;
  // Shows the form modally with no owner; returns once it is hidden or
  // closed. Input goes to the form meanwhile (a nested loop on this thread).
  virtual void ShowModal() = 0;
  // Hides the form; this ends a modal show.
  virtual void Hide() = 0;
  virtual bool IsShown() const = 0;
  // The month and weekday names of the user's language, for the texts of the
  // form that spell a date out. A toolkit that knows no locale answers
  // English.
  virtual const DateNames& Names() const { return EnglishDateNames::Instance(); }

  FormEvents form_events;
};

namespace detail {
template <typename T>
T& FindWidget(const std::vector<std::unique_ptr<Widget>>& widgets, std::string_view name,
              int index);
}  // namespace detail

// For toolkits: a surface whose widgets are all in one list, found there by
// the lookups. The toolkit's surface gives the list.
class WidgetListSurface : public virtual Surface {
 public:
  TextBox& GetTextBox(std::string_view name) override { return Find<TextBox>(name, -1); }
  CommandButton& GetCommandButton(std::string_view name) override {
    return Find<CommandButton>(name, -1);
  }
  Label& GetLabel(std::string_view name, int index = -1) override {
    return Find<Label>(name, index);
  }
  PictureBox& GetPictureBox(std::string_view name) override { return Find<PictureBox>(name, -1); }
  Image& GetImage(std::string_view name) override { return Find<Image>(name, -1); }
  UpDown& GetUpDown(std::string_view name) override { return Find<UpDown>(name, -1); }

 protected:
  virtual const std::vector<std::unique_ptr<Widget>>& AllWidgets() const = 0;
  template <typename T>
  T& Find(std::string_view name, int index) const {
    return detail::FindWidget<T>(AllWidgets(), name, index);
  }
};

namespace detail {

// For toolkits: fails with Error 340 naming the widget (and array index).
[[noreturn]] void NoSuchWidget(std::string_view name, int index);

// For toolkits: the widget of kind T named name (with index, -1 outside an
// array) among a surface's widgets.
template <typename T>
T& FindWidget(const std::vector<std::unique_ptr<Widget>>& widgets, std::string_view name,
              int index) {
  for (const auto& w : widgets) {
    if (w->Index() == index && w->Name() == name) {
      if (auto* t = dynamic_cast<T*>(w.get())) return *t;
    }
  }
  NoSuchWidget(name, index);
}

}  // namespace detail

}  // namespace morlex::platform
