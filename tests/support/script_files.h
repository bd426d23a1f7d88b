#pragma once
// The host-script tests: NAME.mhs scripts with the exact output NAME.out,
// found in one folder.

#include <stdlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "morlex/host/binding.h"
#include "morlex/host/script.h"

namespace morlex::testing {

// The names (without extension) of the .mhs scripts in dir, sorted.
inline std::vector<std::string> ScriptNames(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  if (!std::filesystem::is_directory(dir)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() == ".mhs") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A script's name as a test's name: what is not a letter or a digit
// becomes '_'.
inline std::string ScriptTestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A fresh folder in the system's temporary folder, made the current one for
// the object's lifetime: scripts save and load files by relative names, and
// what they write goes with the folder instead of into the source tree.
class ScratchFolder {
 public:
  ScratchFolder() : before_(std::filesystem::current_path()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "morlex-script-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::current_path(before_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

 private:
  std::filesystem::path before_;
  std::filesystem::path path_;
};

// Runs dir/NAME.mhs on binding in a scratch folder of its own, on the day the
// expected outputs assume, and gives back what it printed.
inline std::string RunScript(host::Binding& binding, const std::filesystem::path& dir,
                             const std::string& name) {
  std::ifstream script(dir / (name + ".mhs"));
  if (!script) {
    ADD_FAILURE() << "cannot open script " << name;
    return {};
  }
  const ScratchFolder folder;
  std::ostringstream out;
  host::ScriptRunner runner(binding, out);
  runner.SetToday({2026, 12, 8});
  EXPECT_NO_THROW(runner.Run(script));
  return out.str();
}

// Runs dir/NAME.mhs as RunScript does and expects exactly dir/NAME.out.
inline void ExpectScriptOutput(host::Binding& binding, const std::filesystem::path& dir,
                               const std::string& name) {
  EXPECT_EQ(RunScript(binding, dir, name), ReadFile(dir / std::string(name).append(".out")));
}

}  // namespace morlex::testing

// The test Suite.Name, one instance for every script of MORLEX_SCRIPT_DIR, each
// run on a fresh binding of make_binding(): every toolkit prints the same.
#define MORLEX_SCRIPT_TESTS(Suite, Name, make_binding)                                             \
  class Suite : public ::testing::TestWithParam<std::string> {};                                   \
  GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Suite);                                            \
  TEST_P(Suite, Name) {                                                                            \
    auto binding = make_binding();                                                                 \
    ::morlex::testing::ExpectScriptOutput(*binding, MORLEX_SCRIPT_DIR, GetParam());                \
  }                                                                                                \
  INSTANTIATE_TEST_SUITE_P(Scripts, Suite,                                                         \
                           ::testing::ValuesIn(::morlex::testing::ScriptNames(MORLEX_SCRIPT_DIR)), \
                           ::morlex::testing::ScriptTestName)
