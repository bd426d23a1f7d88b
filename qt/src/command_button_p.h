#pragma once
// Internal: the command button of a form, a push button of its own.

#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <string>

#include "widget_p.h"

namespace morlex::qt::detail {

// A push button placed by the toolkit. Once polished, a QPushButton asks its
// parent to lay it out again; the toolkit's surfaces have no layout, and on
// a form of many fields each such request costs a search of Qt's whole
// queue of posted events, so the button leaves it out.
class PushButton final : public QPushButton {
 public:
  explicit PushButton(QWidget* parent) : QPushButton(parent) {}

 protected:
  bool event(QEvent* event) override;
};

class CommandButton final : public WidgetImpl<platform::CommandButton> {
 public:
  CommandButton(Surface& surface, const platform::WidgetDesign& design, QWidget* parent);
  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view caption) override;
  bool TakesFocus() const override { return true; }
  QPushButton* Button() const { return button_; }
  bool IsDefault() const { return is_default_; }
  bool IsCancel() const { return is_cancel_; }
  void RefreshPicture();

 private:
  QPushButton* button_;
  std::u16string caption_;
  QImage picture_;
  bool is_default_;
  bool is_cancel_;
};

// Buttons that show the same picture share one icon and its pixmaps: a
// form with many fields would otherwise scale and keep the picture once per
// field.
QIcon SharedIcon(const QImage& picture);

}  // namespace morlex::qt::detail
