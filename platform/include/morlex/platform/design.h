#pragma once
// Design tables: the design-time values from which a toolkit builds a
// surface (the control's own surface or a form) and its widgets.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "morlex/platform/font.h"

namespace morlex::platform {

enum class WidgetKind {
  kTextBox,
  kCommandButton,  // a text caption, or a picture when `picture` is set
  kLabel,
  kPictureBox,
  kImage,
  kUpDown,
};

struct FontDesign {
  std::u16string face = u"MS Sans Serif";
  float size = 8.0F;
  std::int16_t weight = 400;
  std::int16_t charset = 0;
};

// The font object a design's font stands for; a weight of 700 or more is bold.
inline Font FontOfDesign(const FontDesign& design) {
  Font font;
  font.name = design.face;
  font.size = design.size;
  font.weight = design.weight;
  font.bold = design.weight >= 700;
  font.charset = design.charset;
  return font;
}

// System colour references: top bit set, low byte the scheme index.
inline constexpr std::uint32_t kColorButtonFace = 0x8000000F;
inline constexpr std::uint32_t kColorButtonText = 0x80000012;
inline constexpr std::uint32_t kColorWindow = 0x80000005;
inline constexpr std::uint32_t kColorWindowText = 0x80000008;
inline constexpr std::uint32_t kColor3DHighlight = 0x80000014;

struct WidgetDesign {
  WidgetKind kind = WidgetKind::kTextBox;
  std::string name;
  int index = -1;         // member of a widget array when >= 0
  std::string container;  // empty: the surface itself; else a picture box's name
  float left = 0, top = 0, width = 0, height = 0;  // twips
  int tab_index = 0;
  bool tab_stop = true;
  bool visible = true;
  bool enabled = true;
  std::u16string caption;          // button or label caption
  std::optional<FontDesign> font;  // unset: the surface's font
  int max_length = 0;              // text box: 0 means no limit
  std::optional<std::uint32_t> back_color;
  std::optional<std::uint32_t> fore_color;
  int alignment = 0;     // 0 left, 1 right, 2 centre
  int border_style = 0;  // 0 none, 1 single line (labels); picture box: 0 none, 1 sunken
  bool auto_size = false;
  bool stretch = false;                  // image
  std::string picture;                   // artwork file name (under the installed artwork folder)
  int min = -1, max = 1, increment = 1;  // up-down
  bool is_default = false;               // button pressed by Enter
  bool is_cancel = false;                // button pressed by Esc
};

struct SurfaceDesign {
  std::string name;
  float width = 0, height = 0;  // client area, twips
  std::u16string caption;
  bool key_preview = false;
  int border_style = 0;  // 0 none (control surface), 1 fixed single, 3 fixed dialog
  bool min_button = false, max_button = false;
  bool show_in_taskbar = false;
  int startup_position = 0;  // 1 centre over the owner
  std::string icon;          // artwork file name
  FontDesign font;
  std::vector<WidgetDesign> widgets;
};

}  // namespace morlex::platform
