// The design-time values of the control's surface and the two forms.
#include <gtest/gtest.h>

#include "morlex/artwork/artwork.h"
#include "morlex/designs/form_designs.h"
#include "morlex/headless/toolkit.h"

namespace {

using morlex::platform::SurfaceDesign;
using morlex::platform::WidgetDesign;
using morlex::platform::WidgetKind;
namespace designs = morlex::designs;

const WidgetDesign& Find(const SurfaceDesign& s, std::string_view name, int index = -1) {
  for (const auto& w : s.widgets) {
    if (w.name == name && w.index == index) return w;
  }
  throw std::runtime_error("no widget " + std::string(name));
}

struct Geometry {
  const char* name;
  WidgetKind kind;
  float left, top, width, height;
  int tab_index;
  bool tab_stop;
};

void ExpectGeometry(const SurfaceDesign& s, const std::vector<Geometry>& table) {
  for (const auto& g : table) {
    SCOPED_TRACE(g.name);
    const WidgetDesign& w = Find(s, g.name);
    EXPECT_EQ(w.kind, g.kind);
    EXPECT_EQ(w.left, g.left);
    EXPECT_EQ(w.top, g.top);
    EXPECT_EQ(w.width, g.width);
    EXPECT_EQ(w.height, g.height);
    if (g.tab_index >= 0) {
      EXPECT_EQ(w.tab_index, g.tab_index);
    }
    EXPECT_EQ(w.tab_stop, g.tab_stop);
    EXPECT_TRUE(w.visible);
    EXPECT_TRUE(w.enabled);
  }
}

float Right(const WidgetDesign& w) {
  return w.left + w.width;
}
float Bottom(const WidgetDesign& w) {
  return w.top + w.height;
}

// The control surface is laid out again by the field at every size, so what
// matters of its design is what that layout takes from it: the parts, the
// widths of the button and the spin indicator, and the heights it starts with.
TEST(Designs, ControlSurfaceFitsTheFieldsLayout) {
  const SurfaceDesign& s = designs::ControlSurface();
  EXPECT_TRUE(s.key_preview);
  ASSERT_EQ(s.widgets.size(), 3U);
  const WidgetDesign& txt = Find(s, "txtDate");
  const WidgetDesign& spin = Find(s, "spinCTL");
  const WidgetDesign& button = Find(s, "cmdCalendar");
  EXPECT_EQ(txt.kind, WidgetKind::kTextBox);
  EXPECT_EQ(spin.kind, WidgetKind::kUpDown);
  EXPECT_EQ(button.kind, WidgetKind::kCommandButton);

  for (const auto& w : s.widgets) {
    SCOPED_TRACE(w.name);
    EXPECT_TRUE(w.visible && w.enabled);
    EXPECT_GT(w.width, 0);
    EXPECT_GT(w.height, 0);
    EXPECT_GE(w.left, 0);
    EXPECT_GE(w.top, 0);
    EXPECT_LE(Right(w), s.width);
    EXPECT_LE(Bottom(w), s.height);
  }

  // The layout never moves the text box's left edge; the spin indicator lies
  // over its right end, and the button stands clear to the right of it.
  EXPECT_EQ(txt.left, 0);
  EXPECT_LT(spin.left, Right(txt));
  EXPECT_GE(Right(spin), Right(txt));
  EXPECT_GE(button.left, Right(txt));

  // Until the first layout pass the parts keep their design heights, which
  // match the pass's insets: text box and button alike, the spin 15 lower.
  EXPECT_EQ(button.height, txt.height);
  EXPECT_EQ(spin.height, txt.height - 15);

  // At the field's default width (1635) the text box left beside the button
  // still holds the whole spin indicator and its 20-twip gap.
  EXPECT_GE(1635 - button.width - spin.width - 20, 0);

  // The tab order starts at the text box, and no two parts share a place in it.
  EXPECT_LT(txt.tab_index, spin.tab_index);
  EXPECT_LT(txt.tab_index, button.tab_index);
  EXPECT_NE(spin.tab_index, button.tab_index);
  EXPECT_TRUE(txt.tab_stop);
  EXPECT_FALSE(spin.tab_stop || button.tab_stop);

  EXPECT_EQ(txt.max_length, 11);
  EXPECT_TRUE(txt.caption.empty());
  EXPECT_FALSE(txt.font.has_value());
  EXPECT_EQ(spin.min, -1);
  EXPECT_EQ(spin.max, 1);
  EXPECT_EQ(spin.increment, 1);
  EXPECT_TRUE(button.caption.empty());
  EXPECT_EQ(button.picture, morlex::artwork::kCalendarButton);
  EXPECT_FALSE(button.is_default || button.is_cancel);
  EXPECT_EQ(s.font.face, u"MS Sans Serif");
  EXPECT_EQ(s.font.size, 8.0F);
}

TEST(Designs, TabInsideTheFieldReachesOnlyTheTextBox) {
  morlex::headless::Surface surface(designs::ControlSurface());
  ASSERT_NE(surface.FirstInTabOrder(), nullptr);
  EXPECT_EQ(surface.FirstInTabOrder()->Name(), "txtDate");
  int stops = 0;
  for (const auto& w : designs::ControlSurface().widgets) stops += w.tab_stop ? 1 : 0;
  EXPECT_EQ(stops, 1);
}

TEST(Designs, AboutForm) {
  const SurfaceDesign& s = designs::AboutForm();
  EXPECT_EQ(s.name, "frmAbout");
  EXPECT_EQ(s.width, 4020);
  EXPECT_EQ(s.height, 1965);
  EXPECT_EQ(s.caption, u"About Morlex Date Control");
  EXPECT_EQ(s.border_style, 1);
  EXPECT_FALSE(s.min_button || s.max_button || s.show_in_taskbar);
  EXPECT_EQ(s.startup_position, 1);
  EXPECT_TRUE(s.icon.empty());
  EXPECT_EQ(s.widgets.size(), 6U);
  ExpectGeometry(s, {
                        {"imgCalendar", WidgetKind::kImage, 120, 120, 840, 690, -1, false},
                        {"lblName", WidgetKind::kLabel, 1320, 120, 2535, 375, 0, true},
                        {"lblVersionCaption", WidgetKind::kLabel, 1320, 600, 615, 255, 1, true},
                        {"lblVersion", WidgetKind::kLabel, 2040, 600, 1215, 255, 2, true},
                        {"lblCopyRight", WidgetKind::kLabel, 1320, 960, 2535, 255, 3, true},
                        {"cmdClose", WidgetKind::kCommandButton, 1320, 1440, 1215, 375, 4, true},
                    });
  EXPECT_EQ(Find(s, "imgCalendar").picture, morlex::artwork::kAboutPicture);
  EXPECT_TRUE(Find(s, "imgCalendar").stretch);
  EXPECT_EQ(Find(s, "lblName").caption, u"Morlex Date Control");
  ASSERT_TRUE(Find(s, "lblName").font.has_value());
  EXPECT_EQ(Find(s, "lblName").font->face, u"MS Sans Serif");
  EXPECT_EQ(Find(s, "lblName").font->size, 12.0F);
  EXPECT_EQ(Find(s, "lblName").font->weight, 700);
  EXPECT_EQ(Find(s, "lblVersionCaption").caption, u"Version: ");
  EXPECT_TRUE(Find(s, "lblVersion").caption.empty());
  EXPECT_FALSE(Find(s, "lblCopyRight").caption.empty());
  const WidgetDesign& close = Find(s, "cmdClose");
  EXPECT_EQ(close.caption, u"&Close");
  EXPECT_NE(close.is_default, close.is_cancel);  // exactly one of the two dialog keys

  // cmdClose is the one widget of the form that takes the focus.
  morlex::headless::Surface surface(s);
  ASSERT_NE(surface.FirstInTabOrder(), nullptr);
  EXPECT_EQ(surface.FirstInTabOrder()->Name(), "cmdClose");
}

TEST(Designs, CalendarForm) {
  const SurfaceDesign& s = designs::CalendarForm();
  EXPECT_EQ(s.name, "frmCalendar");
  EXPECT_EQ(s.width, 3045);
  EXPECT_EQ(s.height, 3210);
  EXPECT_EQ(s.border_style, 3);
  EXPECT_FALSE(s.min_button || s.max_button || s.show_in_taskbar);
  EXPECT_EQ(s.startup_position, 1);
  EXPECT_TRUE(s.caption.empty());
  EXPECT_EQ(s.icon, morlex::artwork::kCalendarIcon);
  ExpectGeometry(s, {
                        {"txtMonth", WidgetKind::kTextBox, 0, 120, 1575, 345, 0, true},
                        {"txtYear", WidgetKind::kTextBox, 2040, 120, 735, 345, 1, true},
                        {"cmdOK", WidgetKind::kCommandButton, 960, 2760, 975, 375, 2, true},
                        {"spnMonth", WidgetKind::kUpDown, 1560, 120, 255, 375, 47, true},
                        {"cmdCancel", WidgetKind::kCommandButton, 2040, 2760, 975, 375, 3, true},
                        {"picDays", WidgetKind::kPictureBox, 0, 840, 3015, 1815, 4, true},
                        {"spnYear", WidgetKind::kUpDown, 2760, 105, 255, 375, 48, true},
                    });
  EXPECT_EQ(Find(s, "txtMonth").max_length, 0);
  EXPECT_EQ(Find(s, "txtYear").max_length, 4);
  for (const char* field : {"txtMonth", "txtYear"}) {
    ASSERT_TRUE(Find(s, field).font.has_value());
    EXPECT_EQ(Find(s, field).font->size, 9.75F);
    EXPECT_EQ(Find(s, field).font->weight, 400);
  }
  EXPECT_EQ(Find(s, "cmdOK").caption, u"OK");
  EXPECT_EQ(Find(s, "cmdCancel").caption, u"Cancel");
  for (const char* b : {"cmdOK", "cmdCancel"}) {
    EXPECT_FALSE(Find(s, b).is_default || Find(s, b).is_cancel);
  }
  EXPECT_EQ(Find(s, "picDays").back_color, morlex::platform::kColor3DHighlight);

  int cells = 0, headings = 0;
  const float lefts[7] = {90, 720, 600, 480, 360, 240, 840};
  for (const auto& w : s.widgets) {
    if (w.name == "lblDay") {
      EXPECT_EQ(w.index, cells);
      EXPECT_EQ(w.container, "picDays");
      EXPECT_EQ(w.tab_index, 5 + w.index);
      EXPECT_EQ(w.width, 1215);
      EXPECT_EQ(w.height, 495);
      EXPECT_TRUE(w.caption.empty());
      ++cells;
    } else if (w.name == "lblDayName") {
      EXPECT_EQ(w.index, headings);
      EXPECT_EQ(w.left, lefts[headings]);
      EXPECT_EQ(w.top, 600);
      EXPECT_EQ(w.tab_index, 49 + w.index);
      EXPECT_EQ(w.caption, u"Day");
      EXPECT_EQ(w.alignment, 2);
      EXPECT_TRUE(w.auto_size);
      ++headings;
    }
  }
  EXPECT_EQ(cells, 42);
  EXPECT_EQ(headings, 7);

  morlex::headless::Surface surface(s);
  EXPECT_NO_THROW(surface.GetLabel("lblDay", 41));
  EXPECT_THROW(surface.GetLabel("lblDay", 42), std::exception);
  EXPECT_THROW(surface.GetLabel("lblDayName", 7), std::exception);
  EXPECT_THROW(surface.GetLabel("lblDay", -1), std::exception);
}

}  // namespace
