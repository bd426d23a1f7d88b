// Every scripts/NAME.mhs, run through the script runner on the headless
// toolkit, prints exactly scripts/NAME.out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "morlex/host/binding.h"
#include "morlex/host/script.h"
#include "script_files.h"

namespace {

namespace fs = std::filesystem;

MORLEX_SCRIPT_TESTS(HostScript, PrintsExpectedOutput, morlex::host::MakeHeadlessBinding);

// A damaged bag file is told problem by problem before the control loads
// what could be read, so that nobody saves over it unknowingly.
TEST(HostLoad, TellsEachProblemOfADamagedFile) {
  const fs::path file = fs::path(testing::TempDir()) / "morlex_damaged.morlexbag";
  {
    std::ofstream out(file, std::ios::binary);
    out << "{\"format\": \"MorlexDate property bag\", \"version\": 1, \"properties\": {\n"
           "  \"Text\": {\"type\": \"string\", \"value\": \"1/5/99\"},\n"
           "  \"Spin\": {\"type\": \"bool\", \"value\": 7},\n"
           "  \"\xff\": {\"type\": \"bool\", \"value\": true},\n"
           "  \"DateFormat\": {\"type\": \"string\", \"value\": \"m/d/y";
  }
  auto binding = morlex::host::MakeHeadlessBinding();
  std::ostringstream out;
  morlex::host::ScriptRunner runner(*binding, out);
  std::istringstream script("load \"" + file.string() + "\"\nget Text\nget Spin\nget DateFormat\n");
  ASSERT_NO_THROW(runner.Run(script));
  fs::remove(file);
  EXPECT_EQ(out.str(),
            "error \"line 5: unterminated string\"\n"
            "error \"\\\"Spin\\\": value is not true or false\"\n"
            "error \"a key that is not valid UTF-8 was left out\"\n"
            "error \"\\\"DateFormat\\\": cut short\"\n"
            "Text = \"1/5/99\"\n"
            "Spin = True\n"
            "DateFormat = 0\n");
}

}  // namespace
