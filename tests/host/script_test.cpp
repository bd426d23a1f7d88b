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

std::vector<std::string> ScriptNames() {
  return morlex::testing::ScriptNames(MORLEX_SCRIPT_DIR);
}
using morlex::testing::ReadFile;

class HostScript : public testing::TestWithParam<std::string> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(HostScript);

TEST_P(HostScript, PrintsExpectedOutput) {
  const fs::path dir = MORLEX_SCRIPT_DIR;
  std::ifstream script(dir / (GetParam() + ".mhs"));
  ASSERT_TRUE(script) << "cannot open script";
  auto binding = morlex::host::MakeHeadlessBinding();
  std::ostringstream out;
  morlex::host::ScriptRunner runner(*binding, out);
  runner.SetToday({2026, 12, 8});
  ASSERT_NO_THROW(runner.Run(script));
  EXPECT_EQ(out.str(), ReadFile(dir / (GetParam() + ".out")));
}

INSTANTIATE_TEST_SUITE_P(Scripts, HostScript, testing::ValuesIn(ScriptNames()),
                         [](const auto& info) {
                           std::string n = info.param;
                           for (char& c : n) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return n;
                         });

}  // namespace
