// Soak run: one field on the headless toolkit driven through a long random
// session (a million user actions by default, with a thousand calendar and
// about-box openings spread over it), checking the field after every action
// and reading the resident memory at checkpoints. Memory must stay flat once
// the run has warmed up; the run reports the rate of actions per second.
//
//   morlex-soak [--toolkit headless|qt] [--compare] [--actions N] [--dialogs N]
//               [--seed S] [--max-growth-kb K]
//
// With --toolkit qt (when the Qt binding is built) the field lives in a
// MorlexDateWidget and every action is a synthetic Qt event; without a
// display Qt draws offscreen. --compare plays the same session on a headless
// field alongside and stops at the first action after which the two fields
// hold different text or selections.
//
// Exits 1 when an invariant breaks or memory grows by more than K kB
// (default 1024) between the first checkpoint and the last.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "morlex/core/date_text.h"
#include "morlex/core/error.h"
#include "morlex/core/unicode.h"
#include "morlex/host/binding.h"
#include "morlex/host/stage.h"

#ifdef MORLEX_SOAK_HAVE_QT
#include <QApplication>

#include "morlex/host/qt_binding.h"
#endif

namespace {

using morlex::host::DialogUser;

constexpr int kYear = 2026;

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

[[noreturn]] void Fail(long action, const std::string& what) {
  std::fprintf(stderr, "soak: action %ld: %s\n", action, what.c_str());
  std::exit(1);
}

struct Counts final : morlex::MorlexDateEvents {
  long changed = 0;
  long invalid = 0;
  long errors = 0;
  std::string last_source;
  void DateChanged() override { ++changed; }
  void DateInvalid() override { ++invalid; }
  void DateError(morlex::ErrObject& err, std::u16string&) override {
    ++errors;
    last_source = err.source;
  }
};

class Soak {
 public:
  Soak(std::unique_ptr<morlex::host::Binding> binding, unsigned seed)
      : binding_(std::move(binding)), rng_(seed) {
    stage_ = std::make_unique<morlex::host::Stage>(*binding_);
    stage_->SetToday({kYear, 12, 8});
    control_ = &stage_->New();
    counts_ = std::make_shared<Counts>();
    control_->Advise(counts_);
  }

  // One random user action, then the checks.
  void Act(long n) {
    const std::u16string before = control_->Text();
    const long errors_before = counts_->errors;
    const int pick = Uniform(0, 99);
    bool typed = false;
    try {
      if (pick < 45) {
        stage_->Key(static_cast<char16_t>(u'0' + Uniform(0, 9)));
        typed = true;
      } else if (pick < 58) {
        static constexpr char16_t kKeys[] = u"///\b\b\r.a -\t";
        stage_->Key(kKeys[Uniform(0, static_cast<int>(std::size(kKeys)) - 2)]);
        typed = true;
      } else if (pick < 66) {
        const int size = static_cast<int>(before.size());
        stage_->Caret(Uniform(0, size + 1), Uniform(0, 3) == 0 ? Uniform(0, 4) : 0);
      } else if (pick < 71) {
        stage_->Click(Uniform(0, static_cast<int>(before.size()) + 1));
      } else if (pick < 74) {
        stage_->DblClick();
      } else if (pick < 88) {
        stage_->Spin(Uniform(0, 1) == 1);
      } else if (pick < 92) {
        stage_->Blur(Uniform(0, 3) == 0 ? morlex::host::BlurTarget::kSpin
                                        : morlex::host::BlurTarget::kOutside);
      } else if (pick < 96) {
        control_->SetText(RandomText());
      } else if (pick < 98) {
        control_->SetDateFormat(Uniform(0, 4));
      } else {
        control_->SetSelStart(Uniform(0, 12));
      }
    } catch (const std::exception& e) {
      Fail(n, std::string("escaped: ") + e.what());
    }
    const std::u16string after = control_->Text();
    const int start = control_->SelStart();
    const int length = control_->SelLength();
    if (start < 0 || length < 0 || start + length > static_cast<int>(after.size())) {
      Fail(n, "selection outside the text");
    }
    if (typed && before.size() <= 11 && after.size() > 11) Fail(n, "typed past 11 characters");
    if (counts_->errors != errors_before && counts_->last_source != "MorlexDate.SpinTheDate") {
      Fail(n, "DateError from " + counts_->last_source);
    }
  }

  // Opens the calendar and acts in it a little: a day, a month, a year, then
  // OK, Cancel or the close command.
  void Calendar(long n) {
    const int ending = Uniform(0, 2);
    const int cell = Uniform(0, 41);
    const int spins = Uniform(0, 3);
    bool shown = false;
    try {
      stage_->ClickCalendar([&](DialogUser& user) {
        shown = true;
        user.ClickLabel("lblDay", cell);
        for (int i = 0; i < spins; ++i) user.PressUpDown("spnMonth", i % 2 == 0);
        user.TypeKey("txtMonth", u'M');
        user.PressUpDown("spnYear", true);
        if (ending == 0) user.PressButton("cmdOK");
        if (ending == 1) user.PressButton("cmdCancel");
        if (ending == 2) user.Close();
      });
    } catch (const std::exception& e) {
      Fail(n, std::string("calendar: ") + e.what());
    }
    if (shown) ++calendars_;
    if (ending == 0 && shown && !morlex::IsDateText(control_->Text(), kYear)) {
      Fail(n, "the calendar handed back no date");
    }
  }

  void About(long n) {
    bool shown = false;
    try {
      stage_->About([&](DialogUser& user) {
        shown = true;
        user.PressButton("cmdClose");
      });
    } catch (const std::exception& e) {
      Fail(n, std::string("about: ") + e.what());
    }
    if (shown) ++abouts_;
  }

  long Calendars() const { return calendars_; }
  // The text and the selection, as "text" start+length.
  std::string Field() const {
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict)
    // about "\"" + string, which inserts at the front.
    std::string field = "\"";
    field += morlex::ToUtf8(control_->Text());
    field += "\" ";
    field += std::to_string(control_->SelStart());
    field += '+';
    field += std::to_string(control_->SelLength());
    return field;
  }
  long Abouts() const { return abouts_; }
  const Counts& Events() const { return *counts_; }

 private:
  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  std::u16string RandomText() {
    switch (Uniform(0, 2)) {
      case 0:
        return u"";
      case 1: {
        static constexpr char16_t kJunk[] = u"0123456789/./";
        std::u16string junk;
        for (int i = Uniform(1, 11); i > 0; --i) {
          junk.push_back(kJunk[Uniform(0, static_cast<int>(std::size(kJunk)) - 2)]);
        }
        return junk;
      }
      default:
        return morlex::FormatDate({Uniform(100, 9999), Uniform(1, 12), Uniform(1, 28)},
                                  u"m/d/yyyy");
    }
  }

  std::unique_ptr<morlex::host::Binding> binding_;
  std::unique_ptr<morlex::host::Stage> stage_;
  morlex::MorlexDate* control_ = nullptr;
  std::shared_ptr<Counts> counts_;
  std::mt19937 rng_;
  long calendars_ = 0;
  long abouts_ = 0;
};

bool Flag(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return true;
  }
  return false;
}

const char* Option(int argc, char** argv, const char* name, const char* fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
  }
  return fallback;
}

long Argument(int argc, char** argv, const char* name, long fallback) {
  const char* value = Option(argc, argv, name, nullptr);
  return value != nullptr ? std::strtol(value, nullptr, 10) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const long actions = Argument(argc, argv, "--actions", 1000000);
  const long dialogs = Argument(argc, argv, "--dialogs", 1000);
  const auto seed = static_cast<unsigned>(Argument(argc, argv, "--seed", 20261208));
  const long max_growth_kb = Argument(argc, argv, "--max-growth-kb", 1024);
  const long checkpoints = 10;
  const long every_dialog = dialogs > 0 ? std::max(1L, actions / dialogs) : 0;
  const long every_checkpoint = std::max(1L, actions / checkpoints);

  const std::string toolkit = Option(argc, argv, "--toolkit", "headless");
  std::unique_ptr<morlex::host::Binding> binding;
#ifdef MORLEX_SOAK_HAVE_QT
  std::unique_ptr<QApplication> application;
  if (toolkit == "qt") {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    application = std::make_unique<QApplication>(argc, argv);
    binding = morlex::qt::MakeQtBinding();
  }
#endif
  if (toolkit == "headless") binding = morlex::host::MakeHeadlessBinding();
  if (!binding) {
    std::fprintf(stderr, "soak: no toolkit %s in this build\n", toolkit.c_str());
    return 2;
  }
  std::printf("soak on the %s toolkit, seed %u\n", toolkit.c_str(), seed);

  Soak soak(std::move(binding), seed);
  std::unique_ptr<Soak> reference;
  if (Flag(argc, argv, "--compare")) {
    reference = std::make_unique<Soak>(morlex::host::MakeHeadlessBinding(), seed);
  }
  auto compare = [&](long n, const char* what) {
    if (reference && soak.Field() != reference->Field()) {
      Fail(n, std::string("after ") + what + " the field holds " + soak.Field() +
                  ", the headless one " + reference->Field());
    }
  };
  std::vector<long> rss;
  std::printf("%10s %10s %10s %12s\n", "actions", "dialogs", "rss_kb", "actions/s");
  const auto start = std::chrono::steady_clock::now();
  auto last = start;
  long last_n = 0;
  for (long n = 1; n <= actions; ++n) {
    soak.Act(n);
    if (reference) reference->Act(n);
    compare(n, "a user action");
    if (every_dialog > 0 && n % every_dialog == 0) {
      soak.Calendar(n);
      soak.About(n);
      if (reference) {
        reference->Calendar(n);
        reference->About(n);
      }
      compare(n, "the calendar");
    }
    if (n % every_checkpoint == 0 || n == actions) {
      const auto now = std::chrono::steady_clock::now();
      const double seconds = std::chrono::duration<double>(now - last).count();
      rss.push_back(ResidentKb());
      std::printf("%10ld %10ld %10ld %12.0f\n", n, soak.Calendars(), rss.back(),
                  static_cast<double>(n - last_n) / seconds);
      std::fflush(stdout);
      last = now;
      last_n = n;
    }
  }
  const double total = std::chrono::duration<double>(last - start).count();
  const long growth = rss.back() - rss.front();
  const Counts& events = soak.Events();
  std::printf(
      "soak: %ld actions in %.1f s (%.0f actions/s), %ld calendar and %ld about openings\n"
      "soak: events DateChanged %ld, DateInvalid %ld, DateError %ld\n"
      "soak: resident memory %ld kB at the first checkpoint, %ld kB at the last (%+ld kB)\n",
      actions, total, static_cast<double>(actions) / total, soak.Calendars(), soak.Abouts(),
      events.changed, events.invalid, events.errors, rss.front(), rss.back(), growth);
  if (growth > max_growth_kb) {
    std::fprintf(stderr, "soak: memory grew by %ld kB (more than %ld)\n", growth, max_growth_kb);
    return 1;
  }
  return 0;
}
