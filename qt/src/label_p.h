#pragma once
// Internal: the label, a QLabel that fits its caption.

#include <QFont>
#include <QLabel>
#include <cstdint>
#include <string>

#include "widget_p.h"

namespace morlex::qt::detail {

class Label final : public WidgetImpl<platform::Label> {
 public:
  Label(Surface& surface, const platform::WidgetDesign& design, QWidget* parent);
  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view caption) override;
  bool Bordered() const override { return bordered_; }
  void SetBordered(bool single_line) override;
  int Alignment() const override { return alignment_; }
  void SetAlignment(int alignment) override;
  std::uint32_t BackColor() const override { return back_color_; }
  void SetBackColor(std::uint32_t color) override;
  bool AutoSize() const { return auto_size_; }
  QLabel* QtLabel() const { return label_; }
  void Place() override;

 private:
  void Fit();
  void FitFont();
  QLabel* label_;
  QFont font_;  // the design's font, before any fitting
  // What the last fit was made for and what it gave: measuring a caption
  // shapes its text, and a form's placement fits every label again with
  // mostly the same caption, room and font.
  struct Fitted {
    std::u16string caption;
    int available = -1;
    QFont design;
    QFont inherited;
    QFont font;
    QString shown;
  };
  Fitted fitted_;
  std::u16string caption_;
  bool bordered_;
  int alignment_;
  std::uint32_t back_color_;
  std::uint32_t fore_color_;
  bool auto_size_;
};

}  // namespace morlex::qt::detail
