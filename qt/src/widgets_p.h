#pragma once
// Internal: the platform widgets over Qt widgets, the surfaces that hold them
// and the forms.

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "morlex/platform/design.h"
#include "morlex/platform/surface.h"
#include "morlex/platform/widgets.h"
#include "morlex/qt/toolkit.h"

class QFrame;
class QKeyEvent;
class QPainter;
class QStyleOption;
class QStyleOptionFrame;

namespace morlex::qt::detail {

class Surface;
class Form;

// --- Pictures ----------------------------------------------------------------

// The picture of an artwork file, looked up in MORLEX_ARTWORK_DIR, the
// installed data folder and the source tree; the known pictures have a drawn
// stand-in when the file is missing. A null image for an unknown name.
QImage ArtworkPicture(const std::string& name);
// The stand-in alone (for tests and for a broken file).
QImage DrawnPicture(const std::string& name);
// A picture enlarged for a device pixel ratio without smoothing, so that
// small pixel art stays crisp.
QPixmap CrispPixmap(const QImage& image, qreal device_pixel_ratio);

// --- Qt widgets with the behaviour the toolkit needs ----------------------------

// The key of a picture that a widget draws once for each look and copies
// from then on (QPixmapCache): its style, colours, size, state and pixel
// ratio, and the details given. Empty when the picture is not to be kept:
// a palette with gradients or textures, which such a key cannot tell apart,
// a fractional pixel ratio, or painting at another ratio than the widget's. Each widget keeps one,
// which remembers its palette's colours.
class KeptPictureKey {
 public:
  QString Of(const QWidget& widget, const QStyleOption& option, qreal ratio,
             std::initializer_list<quint64> details);

 private:
  qint64 palette_ = -1;
  std::optional<quint64> colors_;
};

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
  bool keeps_frame_picture_ = false;
  bool painting_over_panel_ = false;
  KeptPictureKey kept_key_;
  Surface* surface_ = nullptr;
};

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

// A pair of arrow buttons drawn by the platform style. A press steps once
// (and repeats while held); the arrows do not take the focus from the mouse.
class UpDownWidget final : public QWidget {
 public:
  UpDownWidget(QWidget* parent, std::function<void(bool up)> step);
  // Which arrow a point hits: +1 upper, -1 lower, 0 none.
  int ArrowAt(const QPoint& point) const;
  int Pressed() const { return pressed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Draw(QPainter& painter) const;
  void Step(bool up);
  std::function<void(bool up)> step_;
  int pressed_ = 0;
  KeptPictureKey kept_key_;
  QTimer* repeat_ = nullptr;  // made at the first press: most fields never need it
};

// --- Platform widgets ----------------------------------------------------------

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

// What every widget keeps of its design: name, index, geometry in twips,
// visibility, state and tab order.
template <typename Base>
class PartImpl : public Base, public QtWidget {
 public:
  PartImpl(Surface& surface, const platform::WidgetDesign& design);

  const std::string& Name() const override { return name_; }
  int Index() const override { return index_; }
  float Left() const override { return left_; }
  float Top() const override { return top_; }
  float Width() const override { return width_; }
  float Height() const override { return height_; }
  void SetLeft(float v) override;
  void SetTop(float v) override;
  void SetWidth(float v) override;
  void SetHeight(float v) override;
  bool Visible() const override { return visible_; }
  bool Enabled() const override { return enabled_; }
  void SetFocus() override;

  platform::Widget& Self() override { return *this; }
  int TabIndex() const override { return tab_index_; }
  bool TabStop() const override { return tab_stop_; }
  bool TakesFocus() const override { return false; }
  Surface& Owner() const override { return surface_; }

 protected:
  Surface& surface_;
  std::string name_;
  int index_;
  float left_, top_, width_, height_;
  bool visible_, enabled_;
  int tab_index_;
  bool tab_stop_;
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

// --- Parts a field draws itself --------------------------------------------------

// The spin arrows and the calendar button of a field are drawn by the
// surface's body and answer the mouse there, as a spin box draws its arrows
// and a date edit its pop-up button: on a form of many fields each widget
// less is one less to build, polish, show, paint and keep. A drawn part lies
// over the body's widgets (the arrows over the right end of the text box):
// those widgets draw the parts over themselves as well and pass on the mouse
// presses that fall on them. A drawn part never takes the keyboard focus.
class DrawnPart {
 public:
  virtual ~DrawnPart() = default;
  // Where the part is, in the body's pixels.
  const QRect& Area() const { return area_; }
  // Drawn and hit by the mouse: visible, with a size.
  virtual bool Shown() const = 0;
  // Draws the part at its area; the painter paints in the body's pixels.
  virtual void Paint(QPainter& painter, const QWidget& body) = 0;
  // A press of the left button on the part, then the moves and the release
  // that follow it wherever they are (the body's pixels).
  virtual void MousePress(QPoint at) = 0;
  virtual void MouseDrag(QPoint at) = 0;
  virtual void MouseRelease(QPoint at) = 0;
  // The mouse came over the part or left it, no button held.
  virtual void Hover(bool) {}

 protected:
  QRect area_;
};

template <typename Base>
class DrawnImpl : public PartImpl<Base>, public DrawnPart {
 public:
  DrawnImpl(Surface& surface, const platform::WidgetDesign& design);
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  QWidget* Q() const override { return nullptr; }
  void Place() override;
  bool Shown() const override { return this->visible_ && !area_.isEmpty(); }

 protected:
  // Enabled, on an enabled body: the user can use it.
  bool Usable() const;
  // Has the body paint the part again.
  void Repaint() const;
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
  std::u16string caption_;
  bool bordered_;
  int alignment_;
  std::uint32_t back_color_;
  std::uint32_t fore_color_;
  bool auto_size_;
};

class PictureBox final : public WidgetImpl<platform::PictureBox> {
 public:
  PictureBox(Surface& surface, const platform::WidgetDesign& design, QWidget* parent);
  float ScaleWidth() const override;
  float ScaleHeight() const override;
  bool TakesFocus() const override { return true; }
  QFrame* Frame() const { return frame_; }

 private:
  QFrame* frame_;
};

class Image final : public WidgetImpl<platform::Image> {
 public:
  Image(Surface& surface, const platform::WidgetDesign& design, QWidget* parent);
  void Place() override;

 private:
  QLabel* label_;
  QImage picture_;
};

class UpDown final : public WidgetImpl<platform::UpDown> {
 public:
  UpDown(Surface& surface, const platform::WidgetDesign& design, QWidget* parent);
  int Value() const override { return value_; }
  // A value outside the range fails (380); an equal value notifies nothing.
  void SetValue(int value) override;
  int Min() const override { return min_; }
  int Max() const override { return max_; }
  bool TakesFocus() const override { return true; }
  UpDownWidget* Arrows() const { return arrows_; }
  // One press on an arrow: one step within the range.
  void Press(bool up);

 private:
  UpDownWidget* arrows_;
  int value_ = 0;
  int min_, max_, increment_;
};

// The arrows of an up-down, drawn by the body.
class DrawnUpDown final : public DrawnImpl<platform::UpDown> {
 public:
  DrawnUpDown(Surface& surface, const platform::WidgetDesign& design);
  int Value() const override { return value_; }
  // A value outside the range fails (380); an equal value notifies nothing.
  void SetValue(int value) override;
  int Min() const override { return min_; }
  int Max() const override { return max_; }
  // One press on an arrow: one step within the range.
  void Press(bool up);
  // Which arrow a point of the body hits: +1 upper, -1 lower, 0 none.
  int ArrowAt(QPoint at) const;
  int Pressed() const { return pressed_; }

  void Paint(QPainter& painter, const QWidget& body) override;
  void MousePress(QPoint at) override;
  void MouseDrag(QPoint) override {}
  void MouseRelease(QPoint at) override;

 private:
  void Step(bool up);
  int value_ = 0;
  int min_, max_, increment_;
  int pressed_ = 0;
  KeptPictureKey kept_key_;
  QTimer* repeat_ = nullptr;  // made at the first press: most fields never need it
};

// A command button drawn by the body: pressed while the mouse holds it,
// clicked when the mouse lets go over it.
class DrawnButton final : public DrawnImpl<platform::CommandButton> {
 public:
  DrawnButton(Surface& surface, const platform::WidgetDesign& design);
  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view caption) override;
  const QIcon& Icon() const { return icon_; }
  QSize IconSize() const { return icon_size_; }
  bool Sunken() const { return pressed_ && over_; }
  bool Hovered() const { return hovered_; }
  // What a click does: the Click handler, its failure reported.
  void Clicked();

  void Paint(QPainter& painter, const QWidget& body) override;
  void MousePress(QPoint at) override;
  void MouseDrag(QPoint at) override;
  void MouseRelease(QPoint at) override;
  void Hover(bool over) override;

 private:
  std::u16string caption_;
  std::optional<QFont> font_;  // the design's, when it names one
  QIcon icon_;
  QSize icon_size_;
  bool pressed_ = false;
  bool over_ = false;
  bool hovered_ = false;
  KeptPictureKey kept_key_;
};

// --- Surfaces -----------------------------------------------------------------

// While one exists, the control surfaces that the toolkit creates use parent
// itself as their body, instead of a window of their own that the owner
// then moves into place: a MorlexDateWidget sets it around the creation of
// its control, so that a field is one widget less to build, show and paint.
// A parent that forwards its events passes its paint and mouse events to
// the surface's HandleEvent itself, in place of an event filter (which
// would cost each field an allocation of its own).
class SurfaceParentScope {
 public:
  explicit SurfaceParentScope(QWidget* parent, bool forwards_events = false)
      : previous_(current_), previous_forwards_(forwards_) {
    current_ = parent;
    forwards_ = forwards_events;
  }
  ~SurfaceParentScope() {
    current_ = previous_;
    forwards_ = previous_forwards_;
  }
  SurfaceParentScope(const SurfaceParentScope&) = delete;
  SurfaceParentScope& operator=(const SurfaceParentScope&) = delete;
  static QWidget* Current() { return current_; }
  static bool ForwardsEvents() { return forwards_; }

 private:
  QWidget* previous_;
  bool previous_forwards_;
  static inline QWidget* current_ = nullptr;
  static inline bool forwards_ = false;
};

class Surface : public virtual platform::Surface {
 public:
  // body is the QWidget that holds the widgets: the control's body or a
  // form's dialog. The surface deletes it when it owns it; a body it does
  // not own keeps its own font and name, and loses only the surface's
  // widgets when the surface goes.
  //
  // With draws_parts, the up-downs and command buttons placed on the body
  // itself are parts the body draws (DrawnPart), not widgets of their own:
  // a field's surface; a form's have real ones.
  //
  // With body_forwards_events, the body passes its events to HandleEvent
  // itself (see SurfaceParentScope).
  Surface(const platform::SurfaceDesign& design, QWidget* body, bool owns_body,
          bool draws_parts = false, bool body_forwards_events = false);
  ~Surface() override;

  platform::TextBox& GetTextBox(std::string_view name) override;
  platform::CommandButton& GetCommandButton(std::string_view name) override;
  platform::Label& GetLabel(std::string_view name, int index = -1) override;
  platform::PictureBox& GetPictureBox(std::string_view name) override;
  platform::Image& GetImage(std::string_view name) override;
  platform::UpDown& GetUpDown(std::string_view name) override;

  // The design's font, for widgets that name none.
  const platform::FontDesign& DesignFont() const { return design_font_; }
  QWidget* Body() const { return body_; }
  bool OwnsBody() const { return owns_body_; }
  const QFont& SurfaceFont() const { return font_; }
  // The QObject that carries the surface's connections and event filter;
  // destroying the surface cuts them before its widgets go.
  QObject* Context() const;
  const std::vector<QtWidget*>& Widgets() const { return qt_widgets_; }
  double TwipsPerPixel() const;
  // Places every widget again (after a change of screen or DPI).
  void PlaceAll();

  platform::Widget* Focused() const { return focused_; }
  // Moves the tracked focus and, when sync_qt, the Qt focus with it; then
  // the old widget's LostFocus and the new one's GotFocus run. Failures of
  // the handlers come back to the caller.
  void MoveFocus(platform::Widget* to, bool sync_qt = true);
  platform::Widget* FirstInTabOrder() const;
  // The widget of this surface a Qt widget belongs to, or nullptr.
  QtWidget* FromQ(const QObject* object) const;
  QtWidget* AsQt(platform::Widget* widget) const;
  // The Qt parent for a widget of the design (the body, or a picture box).
  QWidget* ContainerOf(const platform::WidgetDesign& design) const;

  // The event filter of every widget of the surface (and of the body when
  // it draws parts); never throws.
  bool HandleEvent(QObject* watched, QEvent* event) noexcept;

  // The drawn parts, bottom first.
  const std::vector<DrawnPart*>& DrawnParts() const { return drawn_; }
  // The topmost shown part at a point of the body, or nullptr.
  DrawnPart* PartAt(QPoint at) const;
  // Paints the shown parts that meet the dirty rectangle (body pixels).
  void PaintParts(QPainter& painter, const QRect& dirty) const;
  // Paints the parts that lie over a widget of the body, over it; never
  // throws.
  void PaintPartsOver(QWidget& widget) const noexcept;

 private:
  class Bridge;
  template <typename T>
  T& Find(std::string_view name, int index);
  bool HandleKeyPress(QtWidget& widget, QKeyEvent* event);
  // Paint and mouse events of the body, and mouse events of its widgets
  // that fall on a drawn part: true when a part took the event.
  bool HandlePartEvent(QObject* watched, QEvent* event);
  void HandleFocusIn(QtWidget& widget);
  void HandleFocusOut(Qt::FocusReason reason);
  void Build(const platform::SurfaceDesign& design);

  // What the widgets need of the design once they are built.
  platform::FontDesign design_font_;
  bool key_preview_;
  QPointer<QWidget> body_;
  bool owns_body_;
  QFont font_;
  std::unique_ptr<Bridge> bridge_;
  std::vector<std::unique_ptr<platform::Widget>> widgets_;
  std::vector<QtWidget*> qt_widgets_;
  platform::Widget* focused_ = nullptr;
  bool moving_focus_ = false;
  QObject* swallow_release_ = nullptr;  // the release that ends a double-click
  bool draws_parts_;
  bool body_forwards_events_;
  std::vector<DrawnPart*> drawn_;
  DrawnPart* pressed_part_ = nullptr;  // the part the held mouse button pressed
  DrawnPart* hovered_part_ = nullptr;  // the part under the mouse
};

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

  // The window's own close command: Close runs, then the form is hidden.
  void CloseCommand();
  void WindowHidden() { shown_ = false; }
  void WindowActivated();
  FormWindow* Window() const { return window_; }
  // The button Enter or Esc presses, when the design names one.
  CommandButton* DialogKeyButton(bool cancel) const;

 private:
  void Position();

  Toolkit& toolkit_;
  FormWindow* window_;
  std::u16string caption_;
  bool shown_ = false;
  int& live_forms_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace morlex::qt::detail
