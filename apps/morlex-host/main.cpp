// morlex-host: places one MorlexDate in a host form, plays the end user and
// the host from a script, and prints everything the control tells its host.
//
//   morlex-host [--toolkit headless|qt|quick] [--today YYYY-MM-DD] [SCRIPT]
//   morlex-host --toolkit qt --snapshot DIR [--dpr RATIO]
//
// With --toolkit qt the same script plays on the Qt widgets, with --toolkit
// quick on the Qt Quick DateField; without a display Qt draws offscreen.
// --snapshot writes pictures of the field, the calendar and the about box to
// DIR instead of running a script.

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "morlex/host/binding.h"
#include "morlex/host/script.h"

#ifdef MORLEX_HAVE_QT
#include <QApplication>

#include "morlex/host/qt_binding.h"
#endif
#ifdef MORLEX_HAVE_QUICK
#include "morlex/host/quick_binding.h"
#endif

namespace {

int Usage(const std::string& message) {
  std::cerr << "morlex-host: " << message << "\n"
            << "usage: morlex-host [--toolkit headless|qt|quick] [--today YYYY-MM-DD] [SCRIPT]\n"
            << "       morlex-host --toolkit qt --snapshot DIR [--dpr RATIO]\n";
  return 2;
}

#ifdef MORLEX_HAVE_QT
// The application object of the Qt toolkits. Without a display the widgets
// are drawn offscreen; a platform named in QT_QPA_PLATFORM wins.
std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
      std::getenv("WAYLAND_DISPLAY") == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  return std::make_unique<QApplication>(argc, argv);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::string toolkit = "headless";
  std::optional<morlex::Date> today;
  std::string script;
  std::string snapshot_dir;
  double ratio = 1.0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--toolkit" && i + 1 < argc) {
      toolkit = argv[++i];
    } else if (arg == "--today" && i + 1 < argc) {
      today = morlex::host::ParseIsoDate(argv[++i]);
      if (!today) return Usage("--today takes a date YYYY-MM-DD in the years 100 to 9999");
    } else if (arg == "--snapshot" && i + 1 < argc) {
      snapshot_dir = argv[++i];
    } else if (arg == "--dpr" && i + 1 < argc) {
      const std::string_view value = argv[++i];
      const auto r = std::from_chars(value.data(), value.data() + value.size(), ratio);
      if (r.ec != std::errc() || r.ptr != value.data() + value.size() || !(ratio >= 0.5) ||
          !(ratio <= 8)) {
        return Usage("--dpr takes a device pixel ratio from 0.5 to 8");
      }
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

  if (!snapshot_dir.empty() && toolkit != "qt") return Usage("--snapshot needs --toolkit qt");

#ifdef MORLEX_HAVE_QT
  // Declared before the binding: the widgets go before the application.
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  std::unique_ptr<QApplication> application;
#endif
  std::unique_ptr<morlex::host::Binding> binding;
  if (toolkit == "headless") {
    binding = morlex::host::MakeHeadlessBinding();
  } else if (toolkit == "qt") {
#ifdef MORLEX_HAVE_QT
    application = MakeApplication(qt_argc, qt_argv);
    if (!snapshot_dir.empty()) {
      try {
        for (const auto& file : morlex::qt::WriteSnapshots(snapshot_dir, ratio)) {
          std::cout << file.string() << "\n";
        }
      } catch (const std::exception& e) {
        std::cerr << "morlex-host: " << e.what() << "\n";
        return 1;
      }
      return 0;
    }
    binding = morlex::qt::MakeQtBinding();
#else
    return Usage("this build has no Qt toolkit (configure with -DMORLEX_BUILD_QT=ON)");
#endif
  } else if (toolkit == "quick") {
#ifdef MORLEX_HAVE_QUICK
    application = MakeApplication(qt_argc, qt_argv);
    binding = morlex::quick::MakeQuickBinding();
#else
    return Usage("this build has no Qt Quick toolkit (configure with -DMORLEX_BUILD_QUICK=ON)");
#endif
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
