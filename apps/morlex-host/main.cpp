// morlex-host: places one MorlexDate in a host form, plays the end user and
// the host from a script, and prints everything the control tells its host.
//
//   morlex-host [--toolkit headless|qt] [--today YYYY-MM-DD] [SCRIPT]

#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "morlex/host/binding.h"
#include "morlex/host/script.h"

namespace {

int Usage(const std::string& message) {
  std::cerr << "morlex-host: " << message << "\n"
            << "usage: morlex-host [--toolkit headless|qt] [--today YYYY-MM-DD] [SCRIPT]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string toolkit = "headless";
  std::optional<morlex::Date> today;
  std::string script;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--toolkit" && i + 1 < argc) {
      toolkit = argv[++i];
    } else if (arg == "--today" && i + 1 < argc) {
      today = morlex::host::ParseIsoDate(argv[++i]);
      if (!today) return Usage("--today takes a date YYYY-MM-DD in the years 100 to 9999");
    } else if (arg == "--help" || arg == "-h") {
      Usage("help");
      return 0;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return Usage("unknown option " + std::string(arg));
    } else if (script.empty()) {
      script = arg;
    } else {
      return Usage("only one script");
    }
  }

  std::unique_ptr<morlex::host::Binding> binding;
  if (toolkit == "headless") {
    binding = morlex::host::MakeHeadlessBinding();
  } else {
    return Usage("unknown toolkit " + toolkit);
  }

  std::ifstream file;
  std::istream* in = &std::cin;
  if (!script.empty() && script != "-") {
    file.open(script);
    if (!file) {
      std::cerr << "morlex-host: cannot open " << script << "\n";
      return 2;
    }
    in = &file;
  }

  try {
    morlex::host::ScriptRunner runner(*binding, std::cout);
    if (today) runner.SetToday(*today);
    runner.Run(*in);
  } catch (const morlex::host::ScriptError& e) {
    std::cout.flush();
    std::cerr << "morlex-host: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "morlex-host: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
