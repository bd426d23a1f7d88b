// Saving, loading and first-time initialisation of the field's settings,
// against the in-memory bag and host.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "morlex/control/morlex_date.h"
#include "morlex/core/unicode.h"
#include "morlex/headless/host.h"
#include "morlex/headless/property_bag.h"
#include "morlex/headless/toolkit.h"
#include "morlex/storage/property_bag_file.h"

namespace {

using morlex::MorlexDate;
using morlex::platform::FontRef;
using morlex::platform::Variant;
namespace headless = morlex::headless;
namespace platform = morlex::platform;

FontRef MakeFont(std::u16string name, float size, bool bold = false) {
  auto f = std::make_shared<platform::Font>();
  f->name = std::move(name);
  f->size = size;
  f->bold = bold;
  f->weight = bold ? 700 : 400;
  return f;
}

// One control in a host of the design size (2280 x 885), created but not yet
// initialised or loaded.
struct Placed {
  explicit Placed(bool user_mode = true) {
    policy.user_mode = user_mode;
    policy.clock = &clock;
    policy.on_notify = [this](std::string_view key) { notices.emplace_back(key); };
    control = std::make_unique<MorlexDate>(host, toolkit);
    host.Attach(control.get(), toolkit.LastControlSurface());
  }

  platform::TextBox& Text() { return control->ControlSurface().GetTextBox("txtDate"); }
  platform::UpDown& SpinCtl() { return control->ControlSurface().GetUpDown("spinCTL"); }
  platform::CommandButton& Button() {
    return control->ControlSurface().GetCommandButton("cmdCalendar");
  }

  // Everything loading sets, as text, so that two states compare field by
  // field with readable differences.
  std::map<std::string, std::string> Snapshot() {
    auto n = [](float v) { return platform::NumberText(v); };
    platform::TextBox& t = Text();
    return {
        {"width", n(host.Width())},
        {"height", n(host.Height())},
        {"text", morlex::ToUtf8(t.Text())},
        {"txt_width", n(t.Width())},
        {"spin_left", n(SpinCtl().Left())},
        {"cmd_left", n(Button().Left())},
        {"enabled", host.Enabled() ? "T" : "F"},
        {"spin_visible", SpinCtl().Visible() ? "T" : "F"},
        {"calendar_visible", Button().Visible() ? "T" : "F"},
        {"pattern", morlex::ToUtf8(control->DatePattern())},
        {"data_field", morlex::ToUtf8(t.DataField())},
        {"back_color", std::to_string(t.BackColor())},
        {"fore_color", std::to_string(t.ForeColor())},
        {"font", morlex::ToUtf8(t.GetFont()->name) + " " + n(t.GetFont()->size)},
        {"tooltip", morlex::ToUtf8(t.ToolTipText())},
        {"help_id", std::to_string(t.WhatsThisHelpID())},
        {"sel_start", std::to_string(t.SelStart())},
        {"sel_length", std::to_string(t.SelLength())},
    };
  }

  platform::FixedClock clock{{2026, 12, 8}};
  headless::HostPolicy policy;
  headless::Toolkit toolkit;
  headless::TestHost host{policy};
  std::unique_ptr<MorlexDate> control;
  std::vector<std::string> notices;
};

std::string Describe(const Variant& v) {
  std::string out = platform::KindName(v);
  out += ":";
  if (const auto* f = std::get_if<FontRef>(&v)) {
    return out + (*f ? morlex::ToUtf8((*f)->name) + "/" + platform::NumberText((*f)->size) : "-");
  }
  if (std::holds_alternative<platform::Empty>(v)) return out;
  return out + morlex::ToUtf8(platform::ToText(v));
}

// A bag holding valid, non-default values for all 18 keys.
headless::MemoryPropertyBag FullBag() {
  headless::MemoryPropertyBag bag;
  bag.Set("UserCtlWidth", 3000.0F);
  bag.Set("UserCtlHeight", 400.0F);
  bag.Set("Text", std::u16string(u"12/25/1999"));
  bag.Set("TextWidth", 2700.0F);
  bag.Set("SpinLeft", 17.0F);
  bag.Set("DateFormat", std::u16string(u"m/d/yy"));
  bag.Set("Enabled", false);
  bag.Set("Spin", false);
  bag.Set("DataField", std::u16string(u"Birthday"));
  bag.Set("Calendar", false);
  bag.Set("BackColor", std::int32_t{0x00FF00});
  bag.Set("Font", MakeFont(u"Arial", 10));
  bag.Set("ForeColor", std::int32_t{0x0000FF});
  bag.Set("ToolTipText", std::u16string(u"Date of birth"));
  bag.Set("WhatsThisHelpID", std::int32_t{77});
  bag.Set("SelText", std::u16string(u"25"));
  bag.Set("SelStart", std::int32_t{3});
  bag.Set("SelLength", std::int32_t{2});
  return bag;
}

TEST(Persistence, SavingANewControlWritesTheEighteenKeysInOrder) {
  Placed p;
  p.control->InitProperties();
  p.host.HostResize(2280, 885);
  headless::MemoryPropertyBag bag;
  p.control->WriteProperties(bag);

  const std::string font = Describe(p.control->Font());
  const std::string ambient = Describe(p.policy.ambient_font);
  const std::vector<std::array<std::string, 3>> expected = {
      {"UserCtlWidth", "single:1635", "long:1635"},
      {"UserCtlHeight", "single:315", "long:315"},
      {"Text", "string:12/08/2026", "string:"},
      {"TextWidth", "single:1335", "string:"},
      {"SpinLeft", "single:1060", "string:"},
      {"DateFormat", "string:mm/dd/yyyy", "string:mm/dd/yyyy"},
      {"Enabled", "bool:True", "bool:True"},
      {"Spin", "bool:True", "bool:True"},
      {"DataField", "string:", "string:"},
      {"Calendar", "bool:True", "bool:True"},
      {"BackColor", "long:-2147483643", "long:-2147483643"},
      {"Font", font, ambient},
      {"ForeColor", "long:-2147483640", "long:-2147483640"},
      {"ToolTipText", "string:", "string:"},
      {"WhatsThisHelpID", "long:0", "long:0"},
      {"SelText", "string:", "string:"},
      {"SelStart", "long:0", "long:0"},
      {"SelLength", "long:0", "long:0"},
  };
  ASSERT_EQ(bag.Writes().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i][0]);
    EXPECT_EQ(bag.Writes()[i].key, expected[i][0]);
    EXPECT_EQ(Describe(bag.Writes()[i].value), expected[i][1]);
    EXPECT_EQ(Describe(bag.Writes()[i].default_value), expected[i][2]);
  }
}

TEST(Persistence, InitialisationShowsTodayAndForcesTheDefaultSizeOnce) {
  Placed p;
  p.control->InitProperties();
  EXPECT_EQ(p.Text().Text(), u"12/08/2026");
  p.host.HostResize(4000, 900);  // the host's first size
  EXPECT_EQ(p.host.Width(), 1635);
  EXPECT_EQ(p.host.Height(), 315);
  p.host.HostResize(4000, 900);  // later sizes stay
  EXPECT_EQ(p.host.Width(), 4000);
}

TEST(Persistence, LoadingLeavesTheDefaultSizeAlone) {
  Placed p;
  headless::MemoryPropertyBag bag;
  bag.Set("UserCtlWidth", 2500.0F);
  p.control->ReadProperties(bag);
  p.host.HostResize(4000, 900);
  EXPECT_EQ(p.host.Width(), 4000);
}

TEST(Persistence, AnEmptyStoreLoadsTheDefaultsWithAnEmptyText) {
  Placed loaded;
  headless::MemoryPropertyBag empty;
  loaded.control->ReadProperties(empty);
  auto got = loaded.Snapshot();

  Placed fresh;
  fresh.control->InitProperties();
  fresh.host.HostResize(2280, 885);
  auto want = fresh.Snapshot();
  EXPECT_EQ(got["text"], "");
  EXPECT_EQ(got["spin_left"], "1060");  // from the layout: SpinLeft was missing
  got.erase("text");
  want.erase("text");
  EXPECT_EQ(got, want);
}

TEST(Persistence, LoadedPatternIsKeptAsStoredAndTheTextIsNotReRendered) {
  struct Case {
    std::u16string pattern;
    int reads_as;
  };
  for (const Case& c : {Case{u"mm/dd/yy", 1}, Case{u"m/d/yyyy", 2}, Case{u"m/d/yy", 3},
                        Case{u"yyyy-mm-dd", 0}, Case{u"", 0}, Case{u"MM/DD/YY", 0}}) {
    SCOPED_TRACE(morlex::ToUtf8(c.pattern));
    Placed p;
    headless::MemoryPropertyBag bag;
    bag.Set("DateFormat", c.pattern);
    bag.Set("Text", std::u16string(u"12/25/1999"));
    p.control->ReadProperties(bag);
    EXPECT_EQ(p.Text().Text(), u"12/25/1999");
    EXPECT_EQ(p.control->DatePattern(), c.pattern);
    EXPECT_EQ(static_cast<int>(p.control->DateFormat()), c.reads_as);
  }
}

TEST(Persistence, CalendarOffInADesignerWidensTheTextButKeepsTheButtonVisible) {
  Placed p(/*user_mode=*/false);
  headless::MemoryPropertyBag bag;
  bag.Set("Calendar", false);
  bag.Set("Spin", false);
  p.control->ReadProperties(bag);
  EXPECT_EQ(p.Text().Width(), 1635);
  EXPECT_EQ(p.SpinCtl().Left(), 1360);
  EXPECT_TRUE(p.Button().Visible());
  EXPECT_TRUE(p.SpinCtl().Visible());
  p.control->Show();
  EXPECT_FALSE(p.Button().Visible());
  EXPECT_FALSE(p.SpinCtl().Visible());
}

TEST(Persistence, FlagsApplyToTheWidgetsAtRunTime) {
  Placed p(/*user_mode=*/true);
  headless::MemoryPropertyBag bag;
  bag.Set("Calendar", false);
  bag.Set("Spin", false);
  p.control->ReadProperties(bag);
  EXPECT_FALSE(p.Button().Visible());
  EXPECT_FALSE(p.SpinCtl().Visible());
}

TEST(Persistence, ANonNumericWidthIsSkippedAndLoadingGoesOn) {
  Placed p;
  headless::MemoryPropertyBag bag;
  bag.Set("UserCtlWidth", std::u16string(u"abc"));
  bag.Set("UserCtlHeight", 500.0F);
  bag.Set("ToolTipText", std::u16string(u"still read"));
  p.control->ReadProperties(bag);
  EXPECT_EQ(p.host.Width(), 2280);  // as the host had it
  EXPECT_EQ(p.host.Height(), 500);
  EXPECT_EQ(p.Text().ToolTipText(), u"still read");
}

TEST(Persistence, NumericStringsAndNumbersOfOtherKindsConvert) {
  Placed p;
  headless::MemoryPropertyBag bag;
  bag.Set("UserCtlWidth", std::u16string(u" 2000 "));
  bag.Set("UserCtlHeight", std::int32_t{400});
  bag.Set("Enabled", std::u16string(u"false"));
  bag.Set("BackColor", 255.0);
  // A system colour given as its unsigned reading, as the published
  // interface takes it too.
  bag.Set("ForeColor", 2147483653.0);
  bag.Set("WhatsThisHelpID", std::u16string(u"12"));
  bag.Set("Text", std::int32_t{42});
  p.control->ReadProperties(bag);
  EXPECT_EQ(p.host.Width(), 2000);
  EXPECT_EQ(p.host.Height(), 400);
  EXPECT_FALSE(p.host.Enabled());
  EXPECT_EQ(p.Text().BackColor(), 255U);
  EXPECT_EQ(p.Text().ForeColor(), 0x80000005U);
  EXPECT_EQ(p.Text().WhatsThisHelpID(), 12);
  EXPECT_EQ(p.Text().Text(), u"42");
}

TEST(Persistence, TextWidthMakesNoDifference) {
  headless::MemoryPropertyBag with = FullBag();
  headless::MemoryPropertyBag without = FullBag();
  without.Clear();
  for (const auto& [key, value] : with.Values()) {
    if (key != "TextWidth") without.Set(key, value);
  }
  with.Set("TextWidth", std::u16string(u"nonsense"));
  Placed a, b;
  a.control->ReadProperties(with);
  b.control->ReadProperties(without);
  EXPECT_EQ(a.Snapshot(), b.Snapshot());
}

TEST(Persistence, AStoredSelectionIsNeverInsertedASecondTime) {
  Placed p;
  headless::MemoryPropertyBag bag = FullBag();
  p.control->ReadProperties(bag);
  EXPECT_EQ(p.Text().Text(), u"12/25/1999");
  EXPECT_EQ(p.Text().SelText(), u"25");
  EXPECT_EQ(p.control->SelStart(), 3);
  EXPECT_EQ(p.control->SelLength(), 2);
}

TEST(Persistence, SpinLeftIsReplacedByTheLayout) {
  Placed p;
  headless::MemoryPropertyBag bag;
  bag.Set("SpinLeft", 17.0F);
  bag.Set("UserCtlWidth", 3000.0F);
  p.control->ReadProperties(bag);
  EXPECT_EQ(p.SpinCtl().Left(), 2425);
  EXPECT_EQ(p.Button().Left(), 2700);
}

TEST(Persistence, FontDefaultIsACopyOfTheAmbientFont) {
  Placed p;
  p.policy.ambient_font = MakeFont(u"Tahoma", 9);
  headless::MemoryPropertyBag empty;
  p.control->ReadProperties(empty);
  FontRef font = p.control->Font();
  EXPECT_EQ(font->name, u"Tahoma");
  font->size = 20;                            // a change through the control's font object ...
  EXPECT_EQ(p.policy.ambient_font->size, 9);  // ... leaves the host's alone
  EXPECT_NE(std::find(p.notices.begin(), p.notices.end(), "Font"), p.notices.end());
}

// Each key missing, or holding a value of the wrong kind: only its own step
// changes. Against a load of valid values for every key (3000 x 400, calendar
// and spin off), only the fields listed differ: a missing key gives the
// default, a value of the wrong kind skips the step and leaves what creation
// (or an earlier step) gave.
TEST(Persistence, AMissingKeyOrAValueOfTheWrongKindChangesOnlyItsStep) {
  using Fields = std::map<std::string, std::string>;
  struct Case {
    std::string key;
    Variant wrong;
    Fields when_wrong;
    std::optional<Fields> when_missing;  // unset: as when wrong
  };
  const FontRef font = MakeFont(u"Arial", 10);
  const Variant abc = std::u16string(u"abc");
  const std::vector<Case> cases = {
      {"Text", font, {{"text", ""}, {"sel_start", "0"}, {"sel_length", "0"}}, std::nullopt},
      // The width stays as the host had it; the button keeps the left edge the
      // layout passes gave it while the calendar was still wanted.
      {"UserCtlWidth",
       abc,
       {{"width", "2280"}, {"txt_width", "2280"}, {"spin_left", "2005"}, {"cmd_left", "1980"}},
       Fields{
           {"width", "1635"}, {"txt_width", "1635"}, {"spin_left", "1360"}, {"cmd_left", "1335"}}},
      {"UserCtlHeight", abc, {{"height", "885"}}, Fields{{"height", "315"}}},
      {"SpinLeft", font, {}, std::nullopt},
      {"Enabled", abc, {{"enabled", "T"}}, std::nullopt},
      {"Spin", abc, {{"spin_visible", "T"}}, std::nullopt},
      {"DateFormat", font, {{"pattern", "mm/dd/yyyy"}}, std::nullopt},
      {"DataField", font, {{"data_field", ""}}, std::nullopt},
      {"Calendar",
       abc,
       {{"calendar_visible", "T"}, {"txt_width", "2700"}, {"spin_left", "2425"}},
       std::nullopt},
      {"BackColor", abc, {{"back_color", "2147483653"}}, std::nullopt},
      {"Font", abc, {{"font", "MS Sans Serif 8"}}, std::nullopt},
      {"ForeColor", std::u16string(u"red"), {{"fore_color", "2147483656"}}, std::nullopt},
      {"ToolTipText", font, {{"tooltip", ""}}, std::nullopt},
      {"WhatsThisHelpID", 1e12, {{"help_id", "0"}}, std::nullopt},
      {"SelText", font, {}, std::nullopt},
      // The caret stays where setting the text put it; the length still applies.
      {"SelStart", std::int32_t{-1}, {{"sel_start", "0"}}, std::nullopt},
      {"SelLength", abc, {{"sel_length", "0"}}, std::nullopt},
  };
  Placed reference;
  headless::MemoryPropertyBag full = FullBag();
  reference.control->ReadProperties(full);
  const auto good = reference.Snapshot();
  EXPECT_EQ(good.at("txt_width"), "3000");
  EXPECT_EQ(good.at("sel_start"), "3");
  for (const Case& c : cases) {
    for (const bool missing : {false, true}) {
      SCOPED_TRACE(c.key + (missing ? " missing" : " of the wrong kind"));
      Placed p;
      headless::MemoryPropertyBag bag;
      const headless::MemoryPropertyBag all = FullBag();
      for (const auto& [key, value] : all.Values()) {
        if (key != c.key) bag.Set(key, value);
      }
      if (!missing) bag.Set(c.key, c.wrong);
      ASSERT_NO_THROW(p.control->ReadProperties(bag));
      auto want = good;
      for (const auto& [field, value] :
           missing ? c.when_missing.value_or(c.when_wrong) : c.when_wrong) {
        want[field] = value;
      }
      EXPECT_EQ(p.Snapshot(), want);
    }
  }
}

TEST(Persistence, EveryValueOfTheWrongKindLeavesTheControlAsCreated) {
  headless::MemoryPropertyBag bag;
  const FontRef font = MakeFont(u"Arial", 10);
  for (const char* key : {"Text", "DateFormat", "DataField", "ToolTipText", "SelText"}) {
    bag.Set(key, font);
  }
  for (const char* key :
       {"UserCtlWidth", "UserCtlHeight", "SpinLeft", "Enabled", "Spin", "Calendar", "BackColor",
        "Font", "ForeColor", "WhatsThisHelpID", "SelStart", "SelLength"}) {
    bag.Set(key, std::u16string(u"\xFFFD not a value"));
  }
  Placed p;
  const auto before = p.Snapshot();
  ASSERT_NO_THROW(p.control->ReadProperties(bag));
  EXPECT_EQ(p.Snapshot(), before);
}

// A bag whose every read fails, as a broken host store would.
class FailingBag final : public platform::PropertyBag {
 public:
  Variant ReadProperty(std::string_view, const Variant&) override {
    ++reads;
    throw std::runtime_error("store unavailable");
  }
  void WriteProperty(std::string_view key, const Variant&, const Variant&) override {
    if (key == fail_on) throw morlex::Error(75, "disk full");
    written.emplace_back(key);
  }
  int reads = 0;
  std::string fail_on;
  std::vector<std::string> written;
};

TEST(Persistence, LoadingFromABagThatAlwaysFailsStillCompletes) {
  Placed p;
  FailingBag bag;
  const auto before = p.Snapshot();
  ASSERT_NO_THROW(p.control->ReadProperties(bag));
  EXPECT_EQ(bag.reads, 17);  // "TextWidth" is never read; every other key is tried
  EXPECT_EQ(p.Snapshot(), before);
}

TEST(Persistence, AFailingWriteEndsTheSaveAndReachesTheHost) {
  Placed p;
  p.control->InitProperties();
  FailingBag bag;
  bag.fail_on = "Calendar";
  try {
    p.control->WriteProperties(bag);
    FAIL() << "the failure must reach the caller";
  } catch (const morlex::Error& e) {
    EXPECT_EQ(e.description(), "disk full");
  }
  const std::vector<std::string> before = {"UserCtlWidth", "UserCtlHeight", "Text",
                                           "TextWidth",    "SpinLeft",      "DateFormat",
                                           "Enabled",      "Spin",          "DataField"};
  EXPECT_EQ(bag.written, before);
}

// Random settings go through saving, the bag file's text and loading into
// another control, and come out the same.
TEST(Persistence, RandomSettingsSurviveARoundTripThroughABagFile) {
  std::mt19937 rng(20261208);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::vector<std::u16string> patterns = {u"mm/dd/yyyy", u"mm/dd/yy", u"m/d/yyyy",
                                                u"m/d/yy",     u"",         u"dd.mm.yyyy"};
  const std::vector<std::u16string> texts = {u"",
                                             u"1/2/99",
                                             u"02/29/2000",
                                             u"13/45/2020",
                                             u"\"quoted\" \\ back",
                                             u"caf\u00E9 \U0001F4C5",
                                             u"line\nbreak",
                                             std::u16string(1, u'\xD800')};
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    headless::MemoryPropertyBag input;
    const std::u16string text = texts[static_cast<std::size_t>(pick(0, 7))];
    input.Set("UserCtlWidth", static_cast<float>(pick(300, 9000)) + 0.5F * pick(0, 1));
    input.Set("UserCtlHeight", static_cast<float>(pick(46, 3000)));
    input.Set("Text", text);
    input.Set("DateFormat", patterns[static_cast<std::size_t>(pick(0, 5))]);
    input.Set("Enabled", pick(0, 1) == 1);
    input.Set("Spin", pick(0, 1) == 1);
    input.Set("DataField", texts[static_cast<std::size_t>(pick(0, 7))]);
    input.Set("Calendar", pick(0, 1) == 1);
    input.Set("BackColor", static_cast<std::int32_t>(rng()));
    input.Set("Font",
              MakeFont(pick(0, 1) ? u"Arial" : u"Courier New",
                       static_cast<float>(pick(6, 72)) + 0.25F * pick(0, 3), pick(0, 1) == 1));
    input.Set("ForeColor", static_cast<std::int32_t>(rng()));
    input.Set("ToolTipText", texts[static_cast<std::size_t>(pick(0, 7))]);
    input.Set("WhatsThisHelpID", static_cast<std::int32_t>(rng()));
    const int start = pick(0, static_cast<int>(text.size()));
    input.Set("SelStart", start);
    input.Set("SelLength", pick(0, static_cast<int>(text.size()) - start));

    Placed a(pick(0, 1) == 1);
    a.control->ReadProperties(input);
    morlex::storage::FilePropertyBag saved;
    a.control->WriteProperties(saved);
    auto reread = morlex::storage::FilePropertyBag::Parse(saved.Serialize());
    EXPECT_TRUE(reread.Problems().empty()) << reread.Problems().front();

    Placed b(true);
    b.control->ReadProperties(reread);
    headless::MemoryPropertyBag first, second;
    a.control->WriteProperties(first);
    b.control->WriteProperties(second);
    ASSERT_EQ(first.Writes().size(), 18U);
    ASSERT_EQ(second.Writes().size(), 18U);
    for (std::size_t i = 0; i < 18; ++i) {
      SCOPED_TRACE(first.Writes()[i].key);
      EXPECT_EQ(Describe(first.Writes()[i].value), Describe(second.Writes()[i].value));
    }
    // And the saved values are the settings given, for every key read back.
    for (const char* key : {"Text", "DateFormat", "DataField", "ToolTipText", "BackColor",
                            "ForeColor", "WhatsThisHelpID", "SelStart", "SelLength", "Enabled",
                            "Spin", "Calendar", "Font", "UserCtlWidth", "UserCtlHeight"}) {
      SCOPED_TRACE(key);
      const Variant want = input.ReadProperty(key, {});
      EXPECT_EQ(Describe(saved.ReadProperty(key, {})), Describe(want));
    }
  }
}

}  // namespace
