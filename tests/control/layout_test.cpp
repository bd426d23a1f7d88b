// Placement of txtDate, spinCTL and cmdCalendar for the sizes a host gives.
#include <gtest/gtest.h>

#include "morlex/core/error.h"
#include "morlex/headless/toolkit.h"
#include "stage_fixture.h"

namespace morlex {
namespace {

using testing::StageTest;

struct Geometry {
  float width, height;
  float txt_width, txt_height;
  float cmd_left, cmd_height;
  float spin_left, spin_height;
};

class LayoutTest : public StageTest {
 protected:
  Geometry Read() {
    Geometry g{};
    const auto boxes = stage_.Layout(g.width, g.height);
    g.txt_width = boxes[0].width;
    g.txt_height = boxes[0].height;
    g.spin_left = boxes[1].left;
    g.spin_height = boxes[1].height;
    g.cmd_left = boxes[2].left;
    g.cmd_height = boxes[2].height;
    return g;
  }
};

TEST_F(LayoutTest, NewControlTakesTheDefaultSizeWhateverTheHostGives) {
  stage_.New();
  const auto boxes = [&] {
    float w = 0, h = 0;
    auto b = stage_.Layout(w, h);
    EXPECT_EQ(w, 1635);
    EXPECT_EQ(h, 315);
    return b;
  }();
  struct Expected {
    const char* name;
    float left, top, width, height;
  } const expected[] = {
      {"txtDate", 0, 15, 1335, 285},
      {"spinCTL", 1060, 35, 255, 270},
      {"cmdCalendar", 1335, 15, 300, 285},
  };
  ASSERT_EQ(boxes.size(), 3U);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(boxes[i].name, expected[i].name);
    EXPECT_EQ(boxes[i].left, expected[i].left) << expected[i].name;
    EXPECT_EQ(boxes[i].top, expected[i].top) << expected[i].name;
    EXPECT_EQ(boxes[i].width, expected[i].width) << expected[i].name;
    EXPECT_EQ(boxes[i].height, expected[i].height) << expected[i].name;
  }
  // Only the first pass after initialisation forces the default size.
  stage_.HostResize(3000, 400);
  EXPECT_EQ(Read().width, 3000);
}

TEST_F(LayoutTest, HostSizes) {
  struct Case {
    const char* what;
    bool calendar;
    float w, h;
    Geometry expected;
  } const cases[] = {
      {"H 45 becomes 315", true, 1635, 45, {1635, 315, 1335, 285, 1335, 285, 1060, 270}},
      {"H 46 is kept", true, 1635, 46, {1635, 46, 1335, 16, 1335, 16, 1060, 1}},
      {"W 299 becomes 1635", true, 299, 315, {1635, 315, 1335, 285, 1335, 285, 1060, 270}},
      {"W 300 is kept", true, 300, 315, {300, 315, 0, 285, 0, 285, -275, 270}},
      {"W 3000", true, 3000, 315, {3000, 315, 2700, 285, 2700, 285, 2425, 270}},
      {"W 200, calendar off: the hidden button still counts",
       false,
       200,
       315,
       {1635, 315, 1635, 285, 1335, 285, 1360, 270}},
      {"W 1000, calendar off", false, 1000, 315, {1000, 315, 1000, 285, 1335, 285, 725, 270}},
  };
  for (const auto& c : cases) {
    stage_.New();
    if (!c.calendar) stage_.Control()->SetCalendar(false);
    stage_.HostResize(c.w, c.h);
    const Geometry g = Read();
    EXPECT_EQ(g.width, c.expected.width) << c.what;
    EXPECT_EQ(g.height, c.expected.height) << c.what;
    EXPECT_EQ(g.txt_width, c.expected.txt_width) << c.what;
    EXPECT_EQ(g.txt_height, c.expected.txt_height) << c.what;
    EXPECT_EQ(g.cmd_left, c.expected.cmd_left) << c.what;
    EXPECT_EQ(g.cmd_height, c.expected.cmd_height) << c.what;
    EXPECT_EQ(g.spin_left, c.expected.spin_left) << c.what;
    EXPECT_EQ(g.spin_height, c.expected.spin_height) << c.what;
  }
}

TEST_F(LayoutTest, CalendarAndSpinWrites) {
  MorlexDate& c = stage_.New();
  c.SetCalendar(false);
  Geometry g = Read();
  EXPECT_EQ(g.txt_width, 1635);
  EXPECT_EQ(g.spin_left, 1360);
  EXPECT_FALSE(c.Calendar());
  c.SetCalendar(true);
  g = Read();
  EXPECT_EQ(g.txt_width, 1335);
  EXPECT_EQ(g.cmd_left, 1335);
  EXPECT_EQ(g.spin_left, 1060);
  c.SetSpin(false);
  EXPECT_FALSE(c.Spin());
  EXPECT_EQ(Read().txt_width, 1335);
  EXPECT_EQ(Read().spin_left, 1060);
}

TEST_F(LayoutTest, HostThatKeepsTheControlTooLowGetsNoLayout) {
  stage_.New();
  stage_.HostResize(2000, 315);
  const Geometry before = Read();
  stage_.Policy().lock_height = 30;
  stage_.HostResize(2500, 30);
  stage_.HostResize(2600, 30);
  const Geometry after = Read();
  EXPECT_EQ(after.height, 30);
  EXPECT_EQ(after.width, 2600);
  EXPECT_EQ(after.txt_width, before.txt_width);
  EXPECT_EQ(after.spin_left, before.spin_left);
  EXPECT_EQ(after.txt_height, before.txt_height);
}

TEST_F(LayoutTest, WidthAndHeightPropertiesGoThroughTheLayout) {
  MorlexDate& c = stage_.New();
  Take();
  c.SetHeight(std::int32_t{20});
  EXPECT_EQ(Read().height, 315);
  c.SetWidth(std::u16string(u"2000"));
  EXPECT_EQ(Read().width, 2000);
  EXPECT_EQ(Read().txt_width, 1700);
  EXPECT_EQ(Take(), (std::vector<std::string>{"notify UserCtlHeight", "notify UserCtlWidth"}));
}

// A host whose size change fails: the failure goes to the caller, and the
// guard of the pass must not stay set, or the control would never lay itself
// out again.
class FailingSizeHost final : public platform::HostSite {
 public:
  bool fail = false;
  MorlexDate* control = nullptr;
  float w = 1635, h = 315;
  platform::FixedClock clock{{2026, 12, 8}};
  bool UserMode() const override { return true; }
  platform::FontRef AmbientFont() const override { return std::make_shared<platform::Font>(); }
  void NotifyChanged(std::string_view) override {}
  bool CanChange(std::string_view) override { return true; }
  float Width() const override { return w; }
  float Height() const override { return h; }
  void SetWidth(float v) override {
    w = v;
    if (control) control->Resize();
  }
  void SetHeight(float v) override {
    if (fail) throw Error(errnum::kHostFailure, "size refused");
    h = v;
    if (control) control->Resize();
  }
  bool Enabled() const override { return true; }
  void SetEnabled(bool) override {}
  const platform::Widget* ActiveConstituent() const override { return nullptr; }
  const platform::Clock& GetClock() const override { return clock; }
};

TEST(LayoutFailures, FailingHostResizeDoesNotWedgeTheLayout) {
  headless::Toolkit toolkit;
  FailingSizeHost host;
  MorlexDate control(host, toolkit);
  host.control = &control;
  control.InitProperties();
  host.fail = true;
  host.h = 20;  // too low: the pass asks for 315 and the host fails
  EXPECT_THROW(control.Resize(), Error);
  host.fail = false;
  // The pass that failed never applied the default size, so the next one
  // still does; the one after that honours the host's size.
  host.SetWidth(3000);
  EXPECT_EQ(host.w, 1635);
  host.h = 400;
  host.SetWidth(3000);
  auto& txt = toolkit.LastControlSurface()->GetTextBox("txtDate");
  EXPECT_EQ(txt.Width(), 2700);
  EXPECT_EQ(txt.Height(), 370);
}

}  // namespace
}  // namespace morlex
