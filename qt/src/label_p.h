#pragma once
// Internal: the label, a QLabel that fits its caption.

#include <QFont>
#include <QLabel>
#include <cstdint>
#include <optional>
#include <string>

#include "widget_p.h"

namespace morlex::qt::detail {

class Label;

// The QLabel of a label. It draws itself in its label's colours rather than
// carrying a palette of its own: setting a palette costs Qt about as much as
// making the label, and a day grid colours every cell at each fill. In a
// day grid, the bordered cell wears the style's focus mark while the grid
// has the focus, so that a keyboard user sees where the arrows move. A
// class of its own to Qt's meta-object system, so that screen readers get
// the interface made for it (see accessibility_p.h) rather than Qt's for a
// plain label.
class CellLabel final : public QLabel {
  Q_OBJECT

 public:
  CellLabel(QWidget* parent, Label& owner) : QLabel(parent), owner_(owner) {}
  Label& Owner() const { return owner_; }
  // The colours the label is drawn in, in the colour group of its state.
  QPalette Colours() const;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  Label& owner_;
};

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
  bool Bold() const override { return bold_; }
  void SetBold(bool bold) override;
  void SetDay(const std::optional<Date>& day) override;
  // The day the cell stands for, nullopt when none (see SetDay).
  const std::optional<Date>& Day() const { return day_; }
  bool AutoSize() const { return auto_size_; }
  // A label that sizes itself to its caption takes the width it is given as
  // the room its caption should keep to (see Fit).
  void SetWidth(float v) override;
  // The font the caption is drawn in before any fitting: the design's, grown
  // with the surface's text scale where it names a size, on the inherited one.
  QFont UnfittedFont() const;
  // Fits the label again to its surface's scale.
  void Refit();
  QLabel* QtLabel() const { return label_; }
  std::uint32_t ForeColor() const { return fore_color_; }
  void Place() override;
  // Tells Qt whether the label's background hides what lies under it.
  void SetOpaque();

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
    bool bold = false;
    double scale = 1;
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
  float room_ = 0;  // twips; 0 while no width was given
  bool bold_ = false;
  std::optional<Date> day_;
};

}  // namespace morlex::qt::detail
