#pragma once
// What the seeded fuzz drivers of the Qt bindings (the widget's and the Qt
// Quick field's) share: the dice, the log of the last steps that a broken
// invariant prints, the keys a player presses with their modifiers, and the
// command line. Each driver keeps its own steps and invariants.
#include <QKeySequence>
#include <Qt>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>
#include <string>

namespace morlex::test {

struct KeyChoice {
  Qt::Key key;
  char text;  // 0: a key that is no character
};

// The keys a player presses: the characters a date is typed with and some
// it is not, the editing keys, the spin and calendar keys and Tab. `own` is
// the one letter each driver picks for itself.
constexpr std::array<KeyChoice, 36> PlayerKeys(KeyChoice own) {
  return {{
      {Qt::Key_0, '0'},       {Qt::Key_1, '1'},     {Qt::Key_2, '2'},      {Qt::Key_3, '3'},
      {Qt::Key_5, '5'},       {Qt::Key_9, '9'},     {Qt::Key_Slash, '/'},  {Qt::Key_Minus, '-'},
      {Qt::Key_Period, '.'},  {Qt::Key_Space, ' '}, {Qt::Key_A, 'a'},      {Qt::Key_B, 'b'},
      {Qt::Key_V, 'v'},       {Qt::Key_C, 'c'},     {Qt::Key_Z, 'z'},      own,
      {Qt::Key_Backspace, 0}, {Qt::Key_Delete, 0},  {Qt::Key_Left, 0},     {Qt::Key_Right, 0},
      {Qt::Key_Home, 0},      {Qt::Key_End, 0},     {Qt::Key_Return, 0},   {Qt::Key_Enter, 0},
      {Qt::Key_Escape, 0},    {Qt::Key_Up, 0},      {Qt::Key_Down, 0},     {Qt::Key_Up, 0},
      {Qt::Key_Down, 0},      {Qt::Key_PageUp, 0},  {Qt::Key_PageDown, 0}, {Qt::Key_F4, 0},
      {Qt::Key_F2, 0},        {Qt::Key_Tab, 0},     {Qt::Key_Backtab, 0},  {Qt::Key_Insert, 0},
  }};
}

class FuzzPlayer {
 public:
  FuzzPlayer(const char* name, std::uint32_t seed, bool verbose)
      : random_(seed), seed_(seed), verbose_(verbose), name_(name) {}

 protected:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool Chance(int percent) { return Pick(100) < percent; }

  // Prints the broken invariant after the last steps and ends the run.
  [[noreturn]] void Fail(const std::string& what) const {
    std::fprintf(stderr, "%s: seed %u, step %d: %s\nlast steps:\n", name_, seed_, step_,
                 what.c_str());
    for (const std::string& line : log_) std::fprintf(stderr, "  %s\n", line.c_str());
    std::fflush(stderr);
    std::_Exit(1);
  }

  // Logs an action of the step under way (printed too when verbose).
  void Note(const std::string& action) {
    const std::string line = std::to_string(step_) + ": " + action;
    if (verbose_) std::printf("%s\n", line.c_str());
    log_.push_back(line);
    if (log_.size() > 40) log_.pop_front();
  }

  // None half of the time, else each of Alt, Ctrl, Meta and Shift by chance.
  Qt::KeyboardModifiers Modifiers() {
    Qt::KeyboardModifiers mods;
    if (Chance(50)) return mods;
    const Qt::KeyboardModifier all[] = {Qt::AltModifier, Qt::ControlModifier, Qt::MetaModifier,
                                        Qt::ShiftModifier};
    for (auto m : all) {
      if (Chance(40)) mods |= m;
    }
    return mods;
  }

  static std::string Describe(Qt::Key key, Qt::KeyboardModifiers mods) {
    return QKeySequence(static_cast<int>(key) | static_cast<int>(mods)).toString().toStdString();
  }

  std::mt19937 random_;
  std::uint32_t seed_;
  bool verbose_;
  int step_ = 0;

 private:
  const char* name_;
  std::deque<std::string> log_;
};

struct FuzzArgs {
  std::uint32_t seed = 1;
  int steps = 2000;
  bool verbose = false;
};

// [--seed N] [--steps N] [--verbose]; nullopt (after the usage line) for any
// other argument.
inline std::optional<FuzzArgs> ReadFuzzArgs(int argc, char** argv, const char* name) {
  FuzzArgs args;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seed" && i + 1 < argc) {
      args.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--steps" && i + 1 < argc) {
      args.steps = std::atoi(argv[++i]);
    } else if (arg == "--verbose") {
      args.verbose = true;
    } else {
      std::fprintf(stderr, "usage: %s [--seed N] [--steps N] [--verbose]\n", name);
      return std::nullopt;
    }
  }
  if (args.verbose) std::setvbuf(stdout, nullptr, _IONBF, 0);
  return args;
}

}  // namespace morlex::test
