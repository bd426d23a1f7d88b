// The morlex-host script language: any input either runs or stops with a
// malformed-line error; nothing else escapes and nothing crashes. Commands
// that read or write files are skipped so the fuzzer never touches the disk.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "morlex/host/binding.h"
#include "morlex/host/script.h"

namespace {
bool TouchesFiles(const std::string& line) {
  try {
    const auto tokens = morlex::host::Tokenize(line);
    return tokens.size() > 1 && (tokens[0].text == "save" || tokens[0].text == "load");
  } catch (...) {
    return false;
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  auto binding = morlex::host::MakeHeadlessBinding();
  std::ostringstream out;
  morlex::host::ScriptRunner runner(*binding, out);
  runner.SetToday({2026, 12, 8});
  std::istringstream in(input);
  std::string line;
  int number = 0;
  try {
    while (std::getline(in, line)) {
      ++number;
      if (!TouchesFiles(line)) runner.RunLine(line, number);
    }
  } catch (const morlex::host::ScriptError&) {
  }
  return 0;
}
