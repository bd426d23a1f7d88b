// The field as a rectangle in its host, on every toolkit: the placement of
// its three widgets, sizes the host gives or keeps, the property writes that
// move or hide widgets, and the text box's caret after writes and clicks.
#include <cmath>
#include <limits>

#include "morlex/component/dispatch.h"
#include "toolkits.h"

namespace morlex::testing_support {
namespace {

using Shell = StageTest;

struct Box {
  float left, top, width, height;
  bool visible;
  friend bool operator==(const Box&, const Box&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "{" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << ", "
              << b.visible << "}";
  }
};

struct Geometry {
  float width, height;
  Box text, spin, calendar;
};

Geometry Read(host::Stage& stage) {
  Geometry g{};
  const auto boxes = stage.Layout(g.width, g.height);
  auto box = [](const host::WidgetBox& b) {
    return Box{b.left, b.top, b.width, b.height, b.visible};
  };
  g.text = box(boxes[0]);
  g.spin = box(boxes[1]);
  g.calendar = box(boxes[2]);
  return g;
}

TEST_P(Shell, ANewControlTakesTheDefaultSizeWhateverTheHostGives) {
  Stage().New();
  const Geometry g = Read(Stage());
  EXPECT_EQ(g.width, 1635);
  EXPECT_EQ(g.height, 315);
  EXPECT_EQ(g.text, (Box{0, 15, 1335, 285, true}));
  EXPECT_EQ(g.spin, (Box{1060, 35, 255, 270, true}));
  EXPECT_EQ(g.calendar, (Box{1335, 15, 300, 285, true}));
  EXPECT_EQ(Text(), u"12/08/2026");
}

TEST_P(Shell, LayoutPassForHostSizes) {
  struct Case {
    float width, height;
    float want_width, want_height;
    float text_width, text_height, spin_left, spin_height, calendar_left;
  };
  const Case cases[] = {
      {3000, 315, 3000, 315, 2700, 285, 2425, 270, 2700},
      {2000, 45, 2000, 315, 1700, 285, 1425, 270, 1700},
      {2000, 46, 2000, 46, 1700, 16, 1425, 1, 1700},
      {299, 315, 1635, 315, 1335, 285, 1060, 270, 1335},
      {300, 315, 300, 315, 0, 285, -275, 270, 0},
      // Twips that are no whole pixel read back exactly as given.
      {2000.5F, 333.25F, 2000.5F, 333.25F, 1700.5F, 303.25F, 1425.5F, 288.25F, 1700.5F},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    Stage().New();
    Stage().HostResize(c.width, c.height);
    const Geometry g = Read(Stage());
    EXPECT_EQ(g.width, c.want_width);
    EXPECT_EQ(g.height, c.want_height);
    EXPECT_EQ(g.text.width, c.text_width);
    EXPECT_EQ(g.text.height, c.text_height);
    EXPECT_EQ(g.spin.left, c.spin_left);
    EXPECT_EQ(g.spin.height, c.spin_height);
    EXPECT_EQ(g.calendar.left, c.calendar_left);
  }
}

TEST_P(Shell, AHostThatKeepsTheControlLowGetsNoLayout) {
  Stage().New();
  Stage().Policy().lock_height = 30;
  Stage().HostResize(3000, 100);
  const Geometry g = Read(Stage());
  EXPECT_EQ(g.height, 30);
  EXPECT_EQ(g.width, 3000);
  EXPECT_EQ(g.text, (Box{0, 15, 1335, 285, true}));  // the last geometry stays

  // A width write keeps the height the host holds and still lays nothing out.
  component::PutProperty(Control(), "Width", std::int32_t{2500});
  EXPECT_EQ(Read(Stage()).text.width, 1335);
}

TEST_P(Shell, SizesThatAreNoNumberOrHugeStayDefined) {
  const float huge = 1e30F;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Stage().New();
  Stage().HostResize(huge, huge);
  Geometry g = Read(Stage());
  EXPECT_EQ(g.width, huge);
  EXPECT_EQ(g.text.width, huge - 300);

  Stage().HostResize(-huge, 315);
  EXPECT_EQ(Read(Stage()).width, 1635);

  Stage().HostResize(nan, 315);
  g = Read(Stage());
  EXPECT_TRUE(std::isnan(g.width));
  EXPECT_TRUE(std::isnan(g.text.width));
  Stage().HostResize(2000, 315);
  EXPECT_EQ(Read(Stage()).text.width, 1700);  // and the field recovers
}

TEST_P(Shell, CalendarAndSpinWrites) {
  Stage().New();
  Control().SetCalendar(false);
  Geometry g = Read(Stage());
  EXPECT_FALSE(g.calendar.visible);
  EXPECT_EQ(g.text.width, 1635);
  EXPECT_EQ(g.spin.left, 1360);
  EXPECT_EQ(Take(), Lines{"notify Calendar"});

  Control().SetSpin(false);
  g = Read(Stage());
  EXPECT_FALSE(g.spin.visible);
  EXPECT_EQ(g.spin.left, 1360);  // hiding moves nothing
  EXPECT_FALSE(Control().Spin());

  Control().SetCalendar(true);
  g = Read(Stage());
  EXPECT_EQ(g.text.width, 1335);
  EXPECT_EQ(g.calendar.left, 1335);
  EXPECT_EQ(g.spin.left, 1060);
}

TEST_P(Shell, WidthWritesConvertOrFailWithoutEffect) {
  Stage().New();
  Take();
  try {
    component::PutProperty(Control(), "Width", std::u16string(u"abc"));
    ADD_FAILURE() << "a width that is no number should fail";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 13);
  }
  EXPECT_EQ(Read(Stage()).width, 1635);
  EXPECT_TRUE(Take().empty());

  component::PutProperty(Control(), "Width", std::u16string(u"2000"));
  EXPECT_EQ(Read(Stage()).text.width, 1700);
  EXPECT_EQ(Take(), Lines{"notify UserCtlWidth"});

  component::PutProperty(Control(), "Height", std::int32_t{20});
  EXPECT_EQ(Read(Stage()).height, 315);
}

TEST_P(Shell, TextWritesPutTheCaretAtTheStartAndSayChangedOnlyWhenChanged) {
  NewWithText(u"01/05/1999");
  Stage().Caret(4, 3);
  Control().SetText(u"01/05/1999");
  EXPECT_EQ(Take(), Lines{"notify Text"});  // the write's own notice, no DateChanged
  auto state = Stage().State();
  EXPECT_EQ(state.sel_start, 0);
  EXPECT_EQ(state.sel_length, 0);

  Control().SetDateFormat(1);
  EXPECT_EQ(Text(), u"01/05/99");
  EXPECT_EQ(Take(), (Lines{"notify Text", "event DateChanged", "notify DateFormat"}));
}

TEST_P(Shell, CaretAndClicksOnTheText) {
  struct Case {
    int position, length;
    int start, selected;
  };
  const Case cases[] = {{0, 0, 0, 0}, {3, 2, 3, 2}, {8, 99, 8, 2}, {40, 0, 10, 0}, {10, 5, 10, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.position) + "," + std::to_string(c.length));
    NewWithText(u"01/05/1999");
    Stage().Caret(c.position, c.length);
    const auto state = Stage().State();
    EXPECT_EQ(state.sel_start, c.start);
    EXPECT_EQ(state.sel_length, c.selected);
  }

  NewWithText(u"01/05/1999");
  Stage().Click(4);
  EXPECT_EQ(Stage().State().sel_start, 4);
  EXPECT_EQ(Stage().State().sel_length, 0);
  EXPECT_EQ(Take(), Lines{"event Click"});
}

TEST_P(Shell, SelectionPropertiesReplaceAndClamp) {
  NewWithText(u"01/05/1999");
  Control().SetSelStart(3);
  Control().SetSelLength(2);
  EXPECT_EQ(Control().SelText(), u"05");
  Take();
  Control().SetSelText(u"7");
  EXPECT_EQ(Text(), u"01/7/1999");
  EXPECT_EQ(Control().SelStart(), 4);
  EXPECT_EQ(Take(), (Lines{"notify Text", "event DateChanged", "notify SelText"}));

  Control().SetSelStart(2);
  Control().SetSelLength(500);
  EXPECT_EQ(Control().SelText(), u"/7/1999");
  EXPECT_THROW(Control().SetSelStart(-1), Error);
  EXPECT_THROW(Control().SetSelLength(-1), Error);
}

INSTANTIATE_TEST_SUITE_P(Toolkits, Shell, ::testing::ValuesIn(Toolkits()), ToolkitName);

}  // namespace
}  // namespace morlex::testing_support
