#pragma once
// Internal: the forms of the Qt toolkit, modal dialogs without an owner.

#include <QDialog>
#include <memory>
#include <string>

#include "morlex/platform/design.h"
#include "morlex/platform/surface.h"
#include "morlex/qt/toolkit.h"
#include "surface_p.h"

class QCloseEvent;
class QKeyEvent;

namespace morlex::qt::detail {

class CommandButton;
class Form;

// The dialog window of a form: routes Enter, Esc, the close box and
// activation to the form.
class FormWindow final : public QDialog {
 public:
  explicit FormWindow(const platform::SurfaceDesign& design);
  void Attach(Form* form) { form_ = form; }
  void SkipNextActivation() { skip_activation_ = true; }

  void setVisible(bool visible) override;
  void reject() override;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  Form* form_ = nullptr;
  bool skip_activation_ = false;
};

class Form final : public Surface, public platform::Form {
 public:
  Form(Toolkit& toolkit, const platform::SurfaceDesign& design, int& live_forms);
  ~Form() override;

  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view caption) override;
  void ShowModal() override;
  void Hide() override;
  bool IsShown() const override { return shown_; }
  const platform::DateNames& Names() const override;

  // The window's own close command: Close runs, then the form is hidden.
  void CloseCommand();
  void WindowHidden() { shown_ = false; }
  void WindowActivated();
  FormWindow* Window() const { return window_; }
  // The button Enter or Esc presses, when the design names one.
  CommandButton* DialogKeyButton(bool cancel) const;

 private:
  void Position();
  // Draws the form as many times its design size as its texts need in the
  // fonts they are shown in, and places every widget for that.
  void FitToFont();

  Toolkit& toolkit_;
  FormWindow* window_;
  std::u16string caption_;
  float width_;  // the design's size in twips
  float height_;
  bool shown_ = false;
  int& live_forms_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace morlex::qt::detail
