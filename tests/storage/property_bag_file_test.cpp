// The property-bag file: what is written comes back, and no file, however
// damaged or hostile, makes reading fail or bring back a wrong value.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>

#include "morlex/core/error.h"
#include "morlex/core/unicode.h"
#include "morlex/storage/atomic_file.h"
#include "morlex/storage/property_bag_file.h"

namespace {

namespace fs = std::filesystem;
using morlex::platform::FontRef;
using morlex::platform::Variant;
using morlex::storage::FilePropertyBag;

// Kind and exact value, so that 1635 as a single and as a long differ, and
// NaN equals NaN.
std::string Exact(const Variant& v) {
  std::string out = morlex::platform::KindName(v);
  if (const auto* f = std::get_if<float>(&v)) {
    std::uint32_t bits;
    std::memcpy(&bits, f, sizeof bits);
    return out + ":" + std::to_string(bits);
  }
  if (const auto* d = std::get_if<double>(&v)) {
    return out + ":" + morlex::platform::NumberText(*d);
  }
  if (const auto* s = std::get_if<std::u16string>(&v)) {
    std::string units;
    for (char16_t c : *s) units += std::to_string(static_cast<unsigned>(c)) + ",";
    return out + ":" + units;
  }
  if (const auto* font = std::get_if<FontRef>(&v)) {
    if (!*font) return out + ":null";
    const auto& f = **font;
    return out + ":" + morlex::ToUtf8(f.name) + "/" + morlex::platform::NumberText(f.size) + "/" +
           std::to_string(f.bold) + std::to_string(f.italic) + std::to_string(f.underline) +
           std::to_string(f.strikethrough) + "/" + std::to_string(f.weight) + "/" +
           std::to_string(f.charset);
  }
  if (std::holds_alternative<morlex::platform::Empty>(v)) return out;
  return out + ":" + morlex::ToUtf8(morlex::platform::ToText(v));
}

FontRef Font(std::u16string name, float size) {
  auto f = std::make_shared<morlex::platform::Font>();
  f->name = std::move(name);
  f->size = size;
  f->italic = true;
  f->weight = 700;
  f->charset = -3;
  return f;
}

std::vector<std::pair<std::string, Variant>> Awkward() {
  return {
      {"Empty", morlex::platform::Empty{}},
      {"True", true},
      {"False", false},
      {"LongMin", std::int32_t{INT32_MIN}},
      {"LongMax", std::int32_t{INT32_MAX}},
      {"Single", 1635.0F},
      {"SingleThird", 1.0F / 3.0F},
      {"SingleTiny", std::numeric_limits<float>::denorm_min()},
      {"SingleMax", std::numeric_limits<float>::max()},
      {"NegativeZero", -0.0F},
      {"Infinity", std::numeric_limits<float>::infinity()},
      {"NaN", std::numeric_limits<float>::quiet_NaN()},
      {"Double", 0.1},
      {"DoubleBig", -1.7976931348623157e308},
      {"EmptyText", std::u16string()},
      {"Escapes", std::u16string(u"\"quoted\" \\ / \b\f\n\r\t \x01 \x7F")},
      {"Unicode", std::u16string(u"caf\u00E9 \u65E5\u4ED8 \U0001F4C5")},
      {"LoneSurrogates", std::u16string(u"a\xD800"
                                        u"b\xDC00")},
      {"Nul", std::u16string(u"a\0b", 3)},
      {"Font", Font(u"Courier \"New\"", 9.75F)},
      {"NoFont", FontRef()},
      {"\xC3\xA9t\xC3\xA9 \"key\"", std::u16string(u"a key that needs escaping")},
  };
}

TEST(BagFile, EveryKindComesBackExactly) {
  FilePropertyBag bag;
  for (const auto& [key, value] : Awkward()) bag.WriteProperty(key, value, {});
  const std::string text = bag.Serialize();
  FilePropertyBag back = FilePropertyBag::Parse(text);
  EXPECT_TRUE(back.Problems().empty()) << back.Problems().front();
  EXPECT_EQ(back.size(), Awkward().size());
  for (const auto& [key, value] : Awkward()) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Exact(back.ReadProperty(key, std::u16string(u"missing"))), Exact(value));
  }
  // The text itself is a well-formed UTF-8 document.
  EXPECT_EQ(morlex::ToUtf8(morlex::FromUtf8(text)), text);
}

TEST(BagFile, MissingKeysGiveTheDefaultOfTheRead) {
  FilePropertyBag bag;
  EXPECT_EQ(Exact(bag.ReadProperty("Text", std::int32_t{1635})), "long:1635");
  bag.WriteProperty("Text", std::u16string(u"x"), std::u16string());
  EXPECT_EQ(Exact(bag.ReadProperty("text", true)), "bool:True");  // keys match exactly
}

TEST(BagFile, FontsAreCopiedInAndOut) {
  FilePropertyBag bag;
  FontRef mine = Font(u"Arial", 10);
  bag.WriteProperty("Font", mine, {});
  mine->size = 30;  // later changes to the caller's font are not stored
  const FontRef first = morlex::platform::ToFont(bag.ReadProperty("Font", {}));
  EXPECT_EQ(first->size, 10);
  first->size = 40;  // nor do changes to a font read out
  EXPECT_EQ(morlex::platform::ToFont(bag.ReadProperty("Font", {}))->size, 10);
}

TEST(BagFile, WritingAKeyAgainReplacesItInPlace) {
  FilePropertyBag bag;
  bag.WriteProperty("A", std::int32_t{1}, {});
  bag.WriteProperty("B", std::int32_t{2}, {});
  bag.WriteProperty("A", std::u16string(u"one"), {});
  const std::string text = bag.Serialize();
  EXPECT_LT(text.find("\"A\""), text.find("\"B\""));
  EXPECT_EQ(Exact(FilePropertyBag::Parse(text).ReadProperty("A", {})),
            Exact(std::u16string(u"one")));
}

// Each text is damaged or hostile; reading it never fails, and gives back
// exactly the listed keys, with the listed values.
TEST(BagFile, DamagedAndHostileFilesGiveWhatIsReadable) {
  const std::string head = R"({"format": "MorlexDate property bag", "version": 1, "properties": )";
  struct Case {
    std::string name;
    std::string text;
    std::vector<std::pair<std::string, std::string>> keys;  // key, Exact()
  };
  const std::vector<Case> cases = {
      {"empty file", "", {}},
      {"not JSON", "UserCtlWidth=1635\n", {}},
      {"a JSON number", "1635", {}},
      {"a JSON array", "[1, 2, 3]", {}},
      {"another program's file", R"({"properties": {"A": {"type": "long", "value": 1}}})", {}},
      {"a later version",
       R"({"format": "MorlexDate property bag", "version": 7, "properties":
         {"A": {"type": "long", "value": 1}, "B": {"type": "colour", "value": 1}}})",
       {{"A", "long:1"}}},
      {"byte-order mark",
       "\xEF\xBB\xBF" + head + R"({"A": {"type": "bool", "value": true}}})",
       {{"A", "bool:True"}}},
      {"wrong kinds",
       head + R"({"L1": {"type": "long", "value": "abc"}, "L2": {"type": "long", "value": 1.5},
         "L3": {"type": "long", "value": 3000000000}, "L4": {"type": "long", "value": 1e3},
         "S1": {"type": "single", "value": 1e39}, "S2": {"type": "single", "value": true},
         "B1": {"type": "bool", "value": 1}, "T1": {"type": "string", "value": 5},
         "F1": {"type": "font", "value": "Arial"}, "F2": {"type": "font", "value": {"size": 8}},
         "F3": {"type": "font", "value": {"name": "Arial", "size": 8, "weight": 99999}},
         "F4": {"type": "font", "value": {"name": "Arial", "size": 8, "bold": "yes"}},
         "E1": {"type": "empty", "value": 0}, "X1": {"type": "long"}, "X2": {"value": 1},
         "X3": 12, "X4": {"type": 3, "value": 1},
         "OK": {"type": "long", "value": -7}}})",
       {{"OK", "long:-7"}}},
      {"a string that is not UTF-8",
       head + "{\"A\": {\"type\": \"string\", \"value\": \"ab\xFF\xFE\"}, \"B\": {\"type\": "
              "\"string\", \"value\": \"\xC0\xAF\"}, \"C\": {\"type\": \"string\", \"value\": "
              "\"\xED\xA0\x80\"}, \"\xFFkey\": {\"type\": \"bool\", \"value\": true}, "
              "\"D\": {\"type\": \"string\", \"value\": \"ok\"}}}",
       {{"D", Exact(std::u16string(u"ok"))}}},
      {"duplicate keys: the last complete one counts",
       head + R"({"A": {"type": "long", "value": 1}, "A": {"type": "long", "value": 2}})" + "}",
       {{"A", "long:2"}}},
      {"cut off in the middle of a value",
       head + R"({"A": {"type": "long", "value": 1}, "B": {"type": "long", "value": 12)",
       {{"A", "long:1"}}},
      {"garbage after a sound document",
       head + R"({"A": {"type": "long", "value": 1}}} trailing)",
       {{"A", "long:1"}}},
      {"a syntax error after good entries",
       head + R"({"A": {"type": "long", "value": 1}, "B" {"type": "long", "value": 2}}})",
       {{"A", "long:1"}}},
      {"raw control character in a string",
       head + "{\"A\": {\"type\": \"string\", \"value\": \"a\tb\"}}}",
       {}},
      {"bad escapes", head + R"({"A": {"type": "string", "value": "\q"}}})", {}},
      {"numbers JSON does not allow",
       head + R"({"A": {"type": "long", "value": 01}, "B": {"type": "long", "value": 2}}})",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FilePropertyBag bag;
    ASSERT_NO_THROW(bag = FilePropertyBag::Parse(c.text));
    EXPECT_EQ(bag.size(), c.keys.size());
    for (const auto& [key, exact] : c.keys) {
      EXPECT_EQ(Exact(bag.ReadProperty(key, std::u16string(u"missing"))), exact) << key;
    }
    // Only the sound file reads without a word; every other says what was wrong.
    EXPECT_EQ(bag.Problems().empty(), c.name == "byte-order mark");
  }
}

TEST(BagFile, DeepNestingAndHugeArraysAreBounded) {
  const std::string head = R"({"format": "MorlexDate property bag", "properties": {"A": )";
  for (const std::string& value :
       {std::string(100000, '['), std::string(100000, '{'),
        "[" + std::string(200000, '0').replace(1, 199998, std::string(199998, ',')) + "]",
        "[" +
            [] {
              std::string s;
              for (int i = 0; i < 400000; ++i) s += "0,";
              return s;
            }() +
            "0]"}) {
    FilePropertyBag bag;
    ASSERT_NO_THROW(bag = FilePropertyBag::Parse(head + value + "}}"));
    EXPECT_EQ(bag.size(), 0U);
    EXPECT_FALSE(bag.Problems().empty());
  }
}

// Cutting a sound file at every byte never brings back a value that differs
// from the one written: a key is either there with its value, or missing.
TEST(BagFile, ATruncatedFileNeverChangesAValue) {
  FilePropertyBag bag;
  for (const auto& [key, value] : Awkward()) bag.WriteProperty(key, value, {});
  bag.WriteProperty("Width", 16350.0F, {});
  bag.WriteProperty("Count", std::int32_t{123456}, {});
  const std::string text = bag.Serialize();
  std::map<std::string, std::string> want;
  for (const auto& [key, value] : Awkward()) want[key] = Exact(value);
  want["Width"] = Exact(16350.0F);
  want["Count"] = Exact(std::int32_t{123456});
  std::size_t most = 0;
  const std::size_t end_of_document = text.rfind('}');
  for (std::size_t cut = 0; cut <= end_of_document; ++cut) {
    const FilePropertyBag part = FilePropertyBag::Parse(std::string_view(text).substr(0, cut));
    FilePropertyBag copy = part;
    for (const auto& [key, exact] : want) {
      if (!copy.Contains(key)) continue;
      ASSERT_EQ(Exact(copy.ReadProperty(key, {})), exact) << "cut at " << cut << ", " << key;
    }
    EXPECT_FALSE(part.Problems().empty()) << "cut at " << cut;
    most = std::max(most, part.size());
  }
  EXPECT_EQ(most, want.size());  // a file cut only after its entries keeps them all
}

class BagFileOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) /
           ("morlex-bag-" + std::to_string(::getpid()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST_F(BagFileOnDisk, WritesAndReadsAFile) {
  FilePropertyBag bag;
  bag.WriteProperty("Text", std::u16string(u"12/25/1999"), {});
  bag.WriteFile(dir_ / "form.morlexbag");
  auto back = FilePropertyBag::ReadFile(dir_ / "form.morlexbag");
  EXPECT_EQ(Exact(back.ReadProperty("Text", {})), Exact(std::u16string(u"12/25/1999")));
  EXPECT_EQ(Files(), std::vector<std::string>{"form.morlexbag"});  // no temporary left
}

TEST_F(BagFileOnDisk, ACrashBeforeTheRenameKeepsTheOldFileWhole) {
  const fs::path file = dir_ / "form.morlexbag";
  { std::ofstream(file, std::ios::binary) << "old content"; }
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_THROW(morlex::storage::WriteFileAtomically(file, "new content",
                                                    [] { throw morlex::Error(75, "crash"); }),
               morlex::Error);
  EXPECT_EQ(Read(file), "old content");
  EXPECT_EQ(Files(), std::vector<std::string>{"form.morlexbag"});

  morlex::storage::WriteFileAtomically(file, "new content");
  EXPECT_EQ(Read(file), "new content");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(BagFileOnDisk, ALinkIsFollowedAndStaysALink) {
  const fs::path real = dir_ / "real.morlexbag";
  const fs::path link = dir_ / "link.morlexbag";
  { std::ofstream(real) << "old"; }
  fs::create_symlink(real, link);
  morlex::storage::WriteFileAtomically(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(real), "new");
}

TEST_F(BagFileOnDisk, FilesThatCannotBeReadAtAllFailWithTheirReason) {
  std::ofstream(dir_ / "big.morlexbag") << std::string(morlex::storage::kMaxBagFileSize + 1, ' ');
  std::ofstream(dir_ / "limit.morlexbag") << std::string(morlex::storage::kMaxBagFileSize, ' ');
  fs::create_directory(dir_ / "folder.morlexbag");
  struct Case {
    std::string file;
    int number;  // 0: reads (as an empty bag)
  };
  for (const Case& c : {Case{"missing.morlexbag", 53}, Case{"folder.morlexbag", 75},
                        Case{"big.morlexbag", 75}, Case{"limit.morlexbag", 0}}) {
    SCOPED_TRACE(c.file);
    try {
      const auto bag = FilePropertyBag::ReadFile(dir_ / c.file);
      EXPECT_EQ(c.number, 0);
      EXPECT_EQ(bag.size(), 0U);
    } catch (const morlex::Error& e) {
      EXPECT_EQ(e.number(), c.number) << e.description();
      EXPECT_NE(e.description().find(c.file), std::string::npos) << e.description();
    }
  }
}

TEST_F(BagFileOnDisk, AFolderThatDoesNotExistFailsAndCreatesNothing) {
  FilePropertyBag bag;
  EXPECT_THROW(bag.WriteFile(dir_ / "no" / "such" / "form.morlexbag"), morlex::Error);
  EXPECT_TRUE(Files().empty());
}

}  // namespace
