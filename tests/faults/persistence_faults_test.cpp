// Failures while the field's settings are stored and loaded: a save that
// fails part of the way through never reaches the host's file, so the file
// of the last good save stays byte for byte; a save stops at the failing
// write with the keys before it written; and loading skips a read that
// fails exactly like a value that does not convert, loading everything else.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "fault_plan.h"
#include "faulty_host.h"
#include "faulty_toolkit.h"
#include "morlex/headless/property_bag.h"
#include "morlex/host/binding.h"
#include "morlex/host/script.h"
#include "morlex/host/stage.h"

namespace morlex {
namespace {

namespace fs = std::filesystem;
using platform::Variant;
using testing_support::FaultPlan;
using testing_support::FaultyBag;
using testing_support::InjectedAt;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SaveToFile : public ::testing::Test {
 protected:
  SaveToFile() : binding_(plan_), runner_(binding_, out_) {
    dir_ = fs::temp_directory_path() / ("morlex-faults-" + std::to_string(std::random_device()()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    runner_.SetToday({2026, 12, 8});
  }
  ~SaveToFile() override { fs::remove_all(dir_); }

  // Runs script lines and gives back what they printed.
  std::string Run(std::vector<std::string> lines) {
    out_.str("");
    for (const auto& line : lines) runner_.RunLine(line, ++line_);
    return out_.str();
  }
  std::string File() const { return (dir_ / "form1.bag").string(); }

  FaultPlan plan_;
  testing_support::FaultyBinding binding_;
  std::ostringstream out_;
  host::ScriptRunner runner_;
  fs::path dir_;
  int line_ = 0;
};

// Saving reads the field's settings in the order of the keys; a failure at
// the first, third, seventh or twelfth key leaves the last good file whole.
TEST_F(SaveToFile, AFailedSaveLeavesTheLastGoodFileWhole) {
  Run({"new", "set Text \"1/5/99\"", "save \"" + File() + "\""});
  const std::string good = ReadAll(File());
  ASSERT_NE(good.find("1/5/99"), std::string::npos);

  for (const char* site : {"Width", "txtDate.Text", "Enabled", "AmbientFont"}) {
    SCOPED_TRACE(site);
    Run({"set Text \"2/2/2002\""});
    plan_.Arm(site);
    const std::string printed = Run({"save \"" + File() + "\""});
    EXPECT_EQ(printed, "error \"" + InjectedAt(site) + "\"\n");
    EXPECT_EQ(ReadAll(File()), good);
    // Nothing else was left in the folder either.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  }
  plan_.Clear();
  Run({"save \"" + File() + "\""});
  EXPECT_NE(ReadAll(File()).find("2/2/2002"), std::string::npos);
}

// The keys in the order saving writes them.
const char* const kKeys[] = {
    "UserCtlWidth", "UserCtlHeight", "Text",      "TextWidth",   "SpinLeft",
    "DateFormat",   "Enabled",       "Spin",      "DataField",   "Calendar",
    "BackColor",    "Font",          "ForeColor", "ToolTipText", "WhatsThisHelpID",
    "SelText",      "SelStart",      "SelLength"};

TEST(SaveToBag, StopsAtTheFailingWriteWithTheKeysBeforeItWritten) {
  auto binding = host::MakeHeadlessBinding();
  host::Stage stage(*binding);
  stage.SetToday({2026, 12, 8});
  MorlexDate& control = stage.New();
  for (std::size_t failing = 0; failing < std::size(kKeys); ++failing) {
    SCOPED_TRACE(kKeys[failing]);
    FaultPlan plan;
    headless::MemoryPropertyBag memory;
    FaultyBag bag(memory, plan);
    const std::string site = std::string("WriteProperty:") + kKeys[failing];
    plan.Arm(site);
    try {
      control.WriteProperties(bag);
      ADD_FAILURE() << "the save did not fail";
    } catch (const Error& e) {
      EXPECT_EQ(e.description(), InjectedAt(site));
    }
    ASSERT_EQ(memory.Writes().size(), failing);
    for (std::size_t i = 0; i < failing; ++i) EXPECT_EQ(memory.Writes()[i].key, kKeys[i]);
  }
}

// Settings that differ from a new field's in every key, and for each key a
// value of a kind that does not convert for it.
struct Setting {
  const char* key;
  Variant stored;
  Variant unconvertible;
  bool shows;  // whether loading it changes what a save writes
};

void PrintTo(const Setting& s, std::ostream* os) {
  *os << s.key;
}

platform::FontRef Arial() {
  auto font = std::make_shared<platform::Font>();
  font->name = u"Arial";
  font->size = 10;
  return font;
}

const Variant kNotANumber = std::u16string(u"abc");

std::vector<Setting> Settings() {
  const Variant font = Arial();
  return {
      {"Text", std::u16string(u"02/02/2002"), font, true},
      {"UserCtlWidth", 3000.0F, kNotANumber, true},
      {"UserCtlHeight", 400.0F, kNotANumber, true},
      // Laid out again by the calendar flag right after.
      {"SpinLeft", 100.0F, kNotANumber, false},
      {"Enabled", false, kNotANumber, true},
      {"Spin", false, kNotANumber, true},
      {"DateFormat", std::u16string(u"m/d/yy"), font, true},
      {"Calendar", false, kNotANumber, true},
      {"DataField", std::u16string(u"Born"), font, true},
      {"BackColor", std::int32_t{255}, kNotANumber, true},
      {"Font", font, true, true},
      {"ForeColor", std::int32_t{65280}, kNotANumber, true},
      {"ToolTipText", std::u16string(u"Date of birth"), font, true},
      {"WhatsThisHelpID", std::int32_t{7}, kNotANumber, true},
      // Read, but the stored text already holds the selection.
      {"SelText", std::u16string(u"02"), font, false},
      {"SelStart", std::int32_t{3}, kNotANumber, true},
      {"SelLength", std::int32_t{2}, kNotANumber, true},
  };
}

// Loads a new field from bag (never failing) and gives back what it saves.
std::vector<std::string> LoadThenSave(platform::PropertyBag& bag) {
  auto binding = host::MakeHeadlessBinding();
  host::Stage stage(*binding);
  stage.SetToday({2026, 12, 8});
  MorlexDate* control = nullptr;
  EXPECT_NO_THROW(control = &stage.Load(bag));
  headless::MemoryPropertyBag saved;
  control->WriteProperties(saved);
  std::vector<std::string> lines;
  for (const auto& w : saved.Writes()) lines.push_back(w.key + " " + host::ValueText(w.value));
  return lines;
}

class LoadingWithAFailingRead : public ::testing::TestWithParam<Setting> {};

TEST_P(LoadingWithAFailingRead, SkipsThatStepAloneLikeAValueThatDoesNotConvert) {
  const Setting& failing = GetParam();
  headless::MemoryPropertyBag full;
  headless::MemoryPropertyBag unconvertible;
  for (const Setting& s : Settings()) {
    full.Set(s.key, s.stored);
    unconvertible.Set(s.key, s.key == std::string(failing.key) ? s.unconvertible : s.stored);
  }
  FaultPlan plan;
  FaultyBag faulty(full, plan);
  plan.Arm(std::string("ReadProperty:") + failing.key);

  const auto with_failure = LoadThenSave(faulty);
  EXPECT_EQ(plan.Injected(), 1);
  EXPECT_EQ(with_failure, LoadThenSave(unconvertible));
  const bool differs = with_failure != LoadThenSave(full);
  EXPECT_EQ(differs, failing.shows);
}

INSTANTIATE_TEST_SUITE_P(Keys, LoadingWithAFailingRead, ::testing::ValuesIn(Settings()),
                         [](const auto& info) { return std::string(info.param.key); });

// The host or a widget failing while a field loads: the step that met the
// failure is skipped, everything else loads, and loading never fails. Each
// case names the settings that may then differ from a sound load.
struct LoadFault {
  const char* site;
  int times;  // 0: every call
  std::vector<std::string> differ;
};

void PrintTo(const LoadFault& f, std::ostream* os) {
  *os << f.site;
}

const LoadFault kLoadFaults[] = {
    {"txtDate.SetText", 1, {"Text", "SelText", "SelStart", "SelLength"}},
    {"SetWidth", 1, {"UserCtlWidth", "TextWidth", "SpinLeft"}},
    {"SetHeight", 1, {"UserCtlHeight"}},
    {"SetEnabled", 1, {"Enabled"}},
    // The flags are still loaded; only their showing is skipped.
    {"UserMode", 0, {}},
    // The fallback font is part of the font's step.
    {"AmbientFont", 1, {"Font"}},
    {"NotifyChanged:Font", 1, {}},
    // A layout pass that fails inside a size change is laid out again later.
    {"cmdCalendar.SetHeight", 1, {}},
    {"txtDate.SetDataField", 1, {"DataField"}},
    {"txtDate.SetSelLength", 1, {"SelText", "SelLength"}},
};

std::vector<std::string> Differing(const std::vector<std::string>& a,
                                   const std::vector<std::string>& b) {
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (a[i] != b[i]) keys.push_back(a[i].substr(0, a[i].find(' ')));
  }
  return keys;
}

class LoadingWithAFailingHostOrWidget : public ::testing::TestWithParam<LoadFault> {};

TEST_P(LoadingWithAFailingHostOrWidget, SkipsTheStepThatMetIt) {
  const LoadFault& fault = GetParam();
  headless::MemoryPropertyBag full;
  for (const Setting& s : Settings()) full.Set(s.key, s.stored);

  FaultPlan plan;
  testing_support::FaultyBinding binding(plan);
  host::Stage stage(binding);
  stage.SetToday({2026, 12, 8});
  plan.Arm(fault.site, 1, fault.times);
  MorlexDate* control = nullptr;
  ASSERT_NO_THROW(control = &stage.Load(full));
  EXPECT_GE(plan.Injected(), 1);
  plan.Clear();

  headless::MemoryPropertyBag saved;
  control->WriteProperties(saved);
  std::vector<std::string> lines;
  for (const auto& w : saved.Writes()) lines.push_back(w.key + " " + host::ValueText(w.value));
  EXPECT_EQ(Differing(lines, LoadThenSave(full)), fault.differ);
}

INSTANTIATE_TEST_SUITE_P(Sites, LoadingWithAFailingHostOrWidget, ::testing::ValuesIn(kLoadFaults),
                         [](const auto& info) {
                           std::string name = info.param.site;
                           std::erase_if(name, [](char c) { return c == '.' || c == ':'; });
                           return name;
                         });

}  // namespace
}  // namespace morlex
