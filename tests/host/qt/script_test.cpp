// Every host script prints on the Qt widgets exactly what its .out file says,
// which is what it prints on the headless toolkit.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "morlex/host/qt_binding.h"
#include "morlex/host/script.h"
#include "script_files.h"

namespace {

namespace fs = std::filesystem;

using morlex::testing::ReadFile;

class QtScript : public testing::TestWithParam<std::string> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(QtScript);

TEST_P(QtScript, PrintsWhatTheHeadlessToolkitPrints) {
  const fs::path dir = MORLEX_SCRIPT_DIR;
  std::ifstream script(dir / (GetParam() + ".mhs"));
  const std::string expected = ReadFile(dir / (GetParam() + ".out"));
  ASSERT_TRUE(script) << "cannot open script";
  // Scripts may save and load files by relative names: they do so in a
  // folder of their own.
  const morlex::testing::ScratchFolder folder;
  auto binding = morlex::qt::MakeQtBinding();
  std::ostringstream out;
  {
    morlex::host::ScriptRunner runner(*binding, out);
    runner.SetToday({2026, 12, 8});
    ASSERT_NO_THROW(runner.Run(script));
  }
  EXPECT_EQ(out.str(), expected);
}

INSTANTIATE_TEST_SUITE_P(Scripts, QtScript,
                         testing::ValuesIn(morlex::testing::ScriptNames(MORLEX_SCRIPT_DIR)),
                         morlex::testing::ScriptTestName);

}  // namespace
