#pragma once
// The host-script tests: NAME.mhs scripts with the exact output NAME.out,
// found in one folder.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace morlex::testing
