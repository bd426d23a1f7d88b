// Every host script prints on the Qt Quick field exactly what its .out file says,
// which is what it prints on the headless toolkit.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QTemporaryDir>

#include "morlex/host/quick_binding.h"
#include "morlex/host/script.h"
#include "script_files.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ScriptNames() {
  return morlex::testing::ScriptNames(MORLEX_SCRIPT_DIR);
}
using morlex::testing::ReadFile;

class QuickScript : public testing::TestWithParam<std::string> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(QuickScript);

TEST_P(QuickScript, PrintsWhatTheHeadlessToolkitPrints) {
  const fs::path dir = MORLEX_SCRIPT_DIR;
  std::ifstream script(dir / (GetParam() + ".mhs"));
  const std::string expected = ReadFile(dir / (GetParam() + ".out"));
  ASSERT_TRUE(script) << "cannot open script";
  // Scripts may save and load files by relative names: they do so in a
  // folder of their own.
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const fs::path before = fs::current_path();
  fs::current_path(folder.path().toStdString());
  struct Back {
    fs::path to;
    ~Back() { fs::current_path(to); }
  } back{before};
  auto binding = morlex::quick::MakeQuickBinding();
  std::ostringstream out;
  {
    morlex::host::ScriptRunner runner(*binding, out);
    runner.SetToday({2026, 12, 8});
    ASSERT_NO_THROW(runner.Run(script));
  }
  EXPECT_EQ(out.str(), expected);
}

INSTANTIATE_TEST_SUITE_P(Scripts, QuickScript, testing::ValuesIn(ScriptNames()),
                         [](const auto& info) {
                           std::string n = info.param;
                           for (char& c : n) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return n;
                         });

}  // namespace
