#include "form_design.h"

#include <gtest/gtest.h>

#include <fstream>

#include "demo_fixture.h"
#include "morlex/headless/host.h"

namespace morlex::demo {
namespace {

using testing::TempDir;

// A field as a host creates it before it initialises or loads it.
struct Fresh {
  explicit Fresh(bool user_mode) {
    policy.user_mode = user_mode;
    policy.clock = &clock;
    control = std::make_unique<MorlexDate>(host, toolkit);
    host.Attach(control.get(), toolkit.LastControlSurface());
  }
  float TextWidth() { return toolkit.LastControlSurface()->Text("txtDate").Width(); }

  platform::FixedClock clock{Date{2026, 12, 8}};
  headless::HostPolicy policy;
  headless::Toolkit toolkit;
  headless::TestHost host{policy, 1635, 315};
  std::unique_ptr<MorlexDate> control;
};

class FormDesign : public ::testing::Test {
 protected:
  // A designed field: every kind of setting changed from its default.
  FormDesign() {
    Fresh& f = designed_;
    f.control->InitProperties();
    f.host.HostResize(1635, 315);
    f.control->SetDateFormat(3);
    f.control->SetText(u"7/4/76");
    f.control->SetSpin(false);
    f.control->SetCalendar(false);
    f.control->SetBackColor(0x00C8F0FF);
    f.control->SetForeColor(0x000000B0);
    auto font = std::make_shared<platform::Font>();
    font->name = u"DejaVu Sans";
    font->size = 11.25F;
    font->bold = true;
    font->weight = 700;
    f.control->SetFont(font);
    f.control->SetToolTipText(u"Born: month/day/year");
    f.control->SetDataField(u"born");
    f.control->SetWidth(platform::Variant(2400.0F));
  }

  TempDir dir_;
  std::filesystem::path design_{dir_.File("people.design")};
  Fresh designed_{true};
};

TEST_F(FormDesign, EverySettingComesBackFromTheFile) {
  SaveFieldDesign(design_, DateColumn::kBorn, *designed_.control);
  EXPECT_TRUE(std::filesystem::is_regular_file(FieldDesignFile(design_, DateColumn::kBorn)));
  EXPECT_FALSE(HasFormDesign(design_));  // the other two fields have none yet

  std::vector<std::string> problems;
  std::optional<storage::FilePropertyBag> bag =
      LoadFieldDesign(design_, DateColumn::kBorn, problems);
  ASSERT_TRUE(bag.has_value());
  EXPECT_TRUE(problems.empty());
  Fresh loaded(true);
  loaded.control->ReadProperties(*bag);
  const MorlexDate& a = *designed_.control;
  const MorlexDate& b = *loaded.control;
  EXPECT_EQ(b.DatePattern(), u"m/d/yy");
  EXPECT_EQ(b.Text(), a.Text());
  EXPECT_FALSE(b.Spin());
  EXPECT_FALSE(b.Calendar());
  EXPECT_EQ(b.BackColor(), 0x00C8F0FFu);
  EXPECT_EQ(b.ForeColor(), 0x000000B0u);
  EXPECT_EQ(b.Font()->name, u"DejaVu Sans");
  EXPECT_FLOAT_EQ(b.Font()->size, 11.25F);
  EXPECT_TRUE(b.Font()->bold);
  EXPECT_EQ(b.ToolTipText(), u"Born: month/day/year");
  EXPECT_EQ(b.DataField(), u"born");
  EXPECT_FLOAT_EQ(platform::ToSingle(b.Width()), 2400.0F);
  // Without the calendar button the text box spans the whole field.
  EXPECT_FLOAT_EQ(loaded.TextWidth(), 2400.0F);
}

// Loaded in a form designer (UserMode False), the field takes its widths
// from the stored flags at once but keeps the buttons of its design visible
// until it is shown.
TEST_F(FormDesign, DesignerKeepsTheButtonsUntilTheFieldIsShown) {
  SaveFieldDesign(design_, DateColumn::kHired, *designed_.control);
  std::vector<std::string> problems;
  std::optional<storage::FilePropertyBag> bag =
      LoadFieldDesign(design_, DateColumn::kHired, problems);
  ASSERT_TRUE(bag.has_value());

  Fresh designer(false);
  const bool calendar_at_design = designer.control->Calendar();
  designer.control->ReadProperties(*bag);
  EXPECT_EQ(designer.control->Calendar(), calendar_at_design);
  EXPECT_FLOAT_EQ(designer.TextWidth(), 2400.0F);
  designer.control->Show();
  EXPECT_FALSE(designer.control->Calendar());
  EXPECT_FALSE(designer.control->Spin());

  Fresh running(true);
  running.control->ReadProperties(*bag);
  EXPECT_FALSE(running.control->Calendar());
  EXPECT_FALSE(running.control->Spin());
}

TEST_F(FormDesign, MissingDamagedAndUnwritableFiles) {
  std::vector<std::string> problems;
  EXPECT_FALSE(LoadFieldDesign(design_, DateColumn::kBorn, problems).has_value());
  EXPECT_FALSE(HasFormDesign(design_));

  for (DateColumn c : kDateColumns) SaveFieldDesign(design_, c, *designed_.control);
  EXPECT_TRUE(HasFormDesign(design_));

  // A file cut short keeps what could be read; loading it never fails and
  // what is missing takes its default.
  const std::filesystem::path file = FieldDesignFile(design_, DateColumn::kReviewed);
  std::string text;
  {
    std::ifstream in(file);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  {
    std::ofstream out(file, std::ios::trunc);
    out << text.substr(0, text.size() / 2);
  }
  std::optional<storage::FilePropertyBag> bag =
      LoadFieldDesign(design_, DateColumn::kReviewed, problems);
  ASSERT_TRUE(bag.has_value());
  EXPECT_FALSE(problems.empty());
  EXPECT_EQ(problems.front().rfind("reviewed.morlexbag: ", 0), 0u) << problems.front();
  Fresh loaded(true);
  EXPECT_NO_THROW(loaded.control->ReadProperties(*bag));

  // A design folder that is a file: the save fails with a reason and the
  // file is left alone.
  const std::filesystem::path blocker = dir_.File("blocker");
  { std::ofstream(blocker) << "x"; }
  try {
    SaveFieldDesign(blocker, DateColumn::kBorn, *designed_.control);
    FAIL();
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("blocker"), std::string::npos) << e.description();
  }
  std::ifstream still(blocker);
  std::string content;
  still >> content;
  EXPECT_EQ(content, "x");
}

}  // namespace
}  // namespace morlex::demo
