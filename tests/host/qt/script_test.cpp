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
  auto binding = morlex::qt::MakeQtBinding();
  EXPECT_EQ(morlex::testing::RunScript(*binding, MORLEX_SCRIPT_DIR, GetParam()),
            ReadFile(fs::path(MORLEX_SCRIPT_DIR) / (GetParam() + ".out")));
}

INSTANTIATE_TEST_SUITE_P(Scripts, QtScript,
                         testing::ValuesIn(morlex::testing::ScriptNames(MORLEX_SCRIPT_DIR)),
                         morlex::testing::ScriptTestName);

}  // namespace
