#pragma once
// Internal: the text box, a line edit that draws its frame from a kept
// picture and passes its events to its surface.

#include <QLineEdit>
#include <QString>
#include <cstdint>
#include <string>

#include "kept_picture_p.h"
#include "widget_p.h"

class QStyleOptionFrame;

namespace morlex::qt::detail {

class Surface;

// A line edit that keeps its selection when the focus moves within its
// window: the control reads the selection after the focus has left.
//
// Its panel (background and frame) is the style's, drawn once for each look
// (size, state, colours, style) and copied from then on, as Qt's spin boxes
// and combo boxes have theirs: a form of many fields spends much of its
// first paint on drawing the same rounded frame again and again. The line
// edit itself is then frameless, with text margins that keep the text
// exactly where the frame would, and paints only its text over the copy.
// Under a style sheet, which lays out and draws line edits its own way, the
// line edit draws its frame itself.
class LineEdit final : public QLineEdit {
 public:
  explicit LineEdit(QWidget* parent);
  // Whether the frame is drawn from a kept picture (false under a style
  // sheet).
  bool KeepsFramePicture() const { return keeps_frame_picture_; }
  // The surface the line edit belongs to: its events go to the surface's
  // HandleEvent first (as an event filter's would, without the filter's
  // allocation), and the surface's drawn parts that lie over the line edit
  // are drawn over its text. nullptr cuts it off.
  void SetSurface(Surface* surface) { surface_ = surface; }
  Surface* GetSurface() const { return surface_; }

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  void initStyleOption(QStyleOptionFrame* option) const override;

 private:
  // The kept panel, then the line edit's text, selection and caret.
  void PaintOwn(QPaintEvent* event);
  // The style option of the line edit as if it had its own frame.
  void FramedOption(QStyleOptionFrame* option) const;
  void ChooseFrame();
  // Right to left, keeps the text at the right edge (see the source).
  void FollowDirection();
  Qt::Alignment left_to_right_alignment_;
  bool keeps_frame_picture_ = false;
  bool painting_over_panel_ = false;
  KeptPictureKey kept_key_;
  Surface* surface_ = nullptr;
};

class TextBox final : public WidgetImpl<platform::TextBox> {
 public:
  TextBox(Surface& surface, const platform::WidgetDesign& design, QWidget* parent);

  std::u16string Text() const override;
  void SetText(std::u16string_view text) override;
  int SelStart() const override;
  void SetSelStart(int position) override;
  int SelLength() const override;
  void SetSelLength(int length) override;
  std::u16string SelText() const override;
  void SetSelText(std::u16string_view text) override;
  int MaxLength() const override { return max_length_; }
  void SetMaxLength(int length) override;
  std::uint32_t BackColor() const override { return back_color_; }
  void SetBackColor(std::uint32_t color) override;
  std::uint32_t ForeColor() const override { return fore_color_; }
  void SetForeColor(std::uint32_t color) override;
  platform::FontRef GetFont() const override { return font_; }
  void SetFont(platform::FontRef font) override;
  std::u16string ToolTipText() const override { return tool_tip_; }
  void SetToolTipText(std::u16string_view text) override;
  std::int32_t WhatsThisHelpID() const override { return help_id_; }
  void SetWhatsThisHelpID(std::int32_t id) override { help_id_ = id; }
  std::u16string DataField() const override { return data_field_; }
  void SetDataField(std::u16string_view field) override { data_field_ = field; }
  bool TakesFocus() const override { return true; }

  LineEdit* Edit() const { return edit_; }
  // Would typing text at the caret (replacing the selection) pass the
  // maximum length? Control characters are never refused here.
  bool RefusesTyped(const QString& text) const;
  // The box's own handling of a key whose code a handler changed.
  void InsertTyped(std::int16_t code);
  // Whether a plain typed character may go straight into the text: true
  // unless the line edit does more with one (read-only, a password or mask,
  // a completer).
  bool InsertsTypedDirectly() const;

 private:
  void ApplyColors();
  void NotifyChange();

  LineEdit* edit_;
  bool silent_ = false;  // set while the toolkit itself changes the text
  int max_length_;
  std::uint32_t back_color_;
  std::uint32_t fore_color_;
  platform::FontRef font_;
  std::u16string tool_tip_;
  std::int32_t help_id_ = 0;
  std::u16string data_field_;
};

}  // namespace morlex::qt::detail
