// Every scripts/NAME.mhs, run through the script runner on the headless
// toolkit, prints exactly scripts/NAME.out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "morlex/host/binding.h"
#include "morlex/host/script.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ScriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(MORLEX_SCRIPT_DIR)) {
    if (entry.path().extension() == ".mhs") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

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
