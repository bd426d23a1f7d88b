// morlex-demo: a record form over a SQLite file with MorlexDate fields.
//
//   morlex-demo [DATABASE] [--read-only] [--design DIR] [--locale NAME]
//   morlex-demo --script [--shots DIR] [DATABASE]
//
// Without a display (no DISPLAY or WAYLAND_DISPLAY and no QT_QPA_PLATFORM)
// the demo runs on Qt's offscreen platform and plays its scripted session.

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "main_window.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/translation.h"
#include "session.h"

namespace {

struct Arguments {
  std::string database;
  std::filesystem::path design;
  std::filesystem::path shots;
  std::string locale;
  bool read_only = false;
  bool script = false;
  bool help = false;
  std::string error;
};

Arguments Parse(int argc, char** argv) {
  Arguments a;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* name) -> std::string {
      if (i + 1 >= argc) {
        a.error = std::string(name) + " needs a value";
        return {};
      }
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h") {
      a.help = true;
    } else if (arg == "--read-only") {
      a.read_only = true;
    } else if (arg == "--script") {
      a.script = true;
    } else if (arg == "--shots") {
      a.shots = value("--shots");
    } else if (arg == "--design") {
      a.design = value("--design");
    } else if (arg == "--locale") {
      a.locale = value("--locale");
    } else if (arg == "--db") {
      a.database = value("--db");
    } else if (!arg.empty() && arg[0] == '-') {
      a.error = "unknown option " + arg;
    } else if (a.database.empty()) {
      a.database = arg;
    } else {
      a.error = "more than one database given";
    }
  }
  return a;
}

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* v = std::getenv(name);
    if (v != nullptr && v[0] != '\0') return true;
  }
  return false;
}

const char* kUsage =
    "usage: morlex-demo [DATABASE] [--read-only] [--design DIR] [--locale NAME]\n"
    "       morlex-demo --script [--shots DIR] [DATABASE]\n"
    "\n"
    "A record form over a SQLite file (\"people\": name, born, hired, reviewed)\n"
    "with three MorlexDate fields. DATABASE defaults to\n"
    "$XDG_DATA_HOME/morlex-demo/people.sqlite (or ~/.local/share/...); a new\n"
    "file is created with sample rows. The fields' design is kept in DIR\n"
    "(default: beside the database, in people.design/).\n"
    "\n"
    "  --read-only  open the database with SQLITE_OPEN_READONLY\n"
    "  --locale NAME  the fields write dates in that locale's order and\n"
    "               separator (de_DE: 24.12.2026, en_GB, ja_JP, sv_SE, ...)\n"
    "  --script     play the scripted session and exit (the default without a\n"
    "               display, on Qt's offscreen platform)\n"
    "  --shots DIR  where the session writes its screenshots (default:\n"
    "               morlex-demo-shots); the session's database, unless one is\n"
    "               given, is made afresh there. A given one must not exist yet.\n";

}  // namespace

// Notes the offscreen platform gives about what it cannot do for a window,
// and the runtime folder it does not need, say nothing to a person reading
// the session's output.
static void QuietMessages(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
  if (type == QtDebugMsg || message.contains(QStringLiteral("propagateSizeHints")) ||
      message.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
    return;
  }
  (void)context;
  std::cerr << message.toStdString() << "\n";
}

int main(int argc, char** argv) {
  Arguments args = Parse(argc, argv);
  if (args.help) {
    std::cout << kUsage;
    return 0;
  }
  if (!args.error.empty()) {
    std::cerr << "morlex-demo: " << args.error << "\n" << kUsage;
    return 2;
  }
  // No display to show a window on: the offscreen platform, and the session
  // instead of a person at the keyboard.
  if (!HasDisplay() && std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    args.script = true;
  }

  if (args.script) qInstallMessageHandler(QuietMessages);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("morlex-demo"));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // The calendar and the about box in the user's language, where the library
  // ships one.
  morlex::qt::InstallTranslator();

  if (args.shots.empty()) args.shots = "morlex-demo-shots";
  if (args.script) {
    // The session edits, saves and deletes: it never runs on a file that
    // holds someone's data. Its own default file is made afresh each time.
    std::error_code ec;
    if (args.database.empty()) {
      args.database = (args.shots / "session.sqlite").string();
      std::filesystem::remove(args.database, ec);
      std::filesystem::remove(args.database + "-journal", ec);
      std::filesystem::remove_all(args.shots / "session.design", ec);
    } else if (std::filesystem::exists(args.database, ec)) {
      std::cerr << "morlex-demo: the scripted session needs a new database file; " << args.database
                << " exists already.\n";
      return 2;
    }
  }
  if (args.database.empty()) args.database = morlex::demo::RecordStore::DefaultPath();
  if (args.design.empty()) {
    std::filesystem::path db(args.database);
    args.design = db.parent_path() / (db.stem().string() + ".design");
  }

  std::unique_ptr<morlex::demo::RecordStore> store;
  try {
    store = std::make_unique<morlex::demo::RecordStore>(
        morlex::demo::OpenOptions{.path = args.database, .read_only = args.read_only});
  } catch (const morlex::Error& e) {
    std::cerr << "morlex-demo: " << e.description() << "\n";
    if (!args.script) {
      QMessageBox::critical(nullptr, QStringLiteral("MorlexDate demo"),
                            QString::fromStdString(e.description()));
    }
    return 1;
  }

  morlex::demo::WindowOptions options;
  options.design_dir = args.design;
  options.interactive = !args.script;
  morlex::demo::MainWindow window(*store, options);
  if (!args.locale.empty()) {
    // The form in that locale: its fields and the table's editors take the
    // order and separator of its short dates, and follow it.
    const QLocale locale(QString::fromStdString(args.locale));
    if (locale.language() == QLocale::C && args.locale != "C") {
      std::cerr << "morlex-demo: unknown locale " << args.locale << "\n";
      return 2;
    }
    QLocale::setDefault(locale);
    window.setLocale(locale);
    for (auto* field : window.findChildren<morlex::qt::MorlexDateWidget*>()) {
      field->setLocale(locale);
      field->setLocaleOrder(true);
    }
    for (auto* dates : window.findChildren<morlex::qt::MorlexDateDelegate*>()) {
      dates->setLocaleOrder(true);
    }
  }

  // A failure that reaches the boundary between Qt and a field goes to the
  // log rather than to standard error only.
  morlex::qt::SetFailureHandler([](std::exception_ptr failure) {
    std::cerr << "morlex-demo: " << morlex::qt::DescribeFailure(failure) << "\n";
  });

  window.show();
  window.activateWindow();
  if (!args.script) return QApplication::exec();

  int result = 1;
  QTimer::singleShot(0, &window, [&] {
    result = morlex::demo::RunScriptedSession(window, *store, {.shots = args.shots}, std::cout);
    window.close();
    QApplication::exit(result);
  });
  QApplication::exec();
  return result;
}
