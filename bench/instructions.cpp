// morlex-bench-count KERNEL N: runs one benchmark kernel N times and prints
// a checksum. Run under callgrind twice with different N, the difference of
// the instruction counts divided by the difference of N is the cost of one
// call, free of start-up and of first-call effects; bench/instructions.sh
// does that for every kernel. --list prints the kernels, each with the
// number of units (inputs, keys, steps) one call handles.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "date_text_kernels.h"
#include "headless_field.h"
#include "morlex/calendar/month_grid.h"

namespace {

struct Kernel {
  const char* name;
  int units;         // units of work in one call
  const char* unit;  // what a unit is
  std::function<std::size_t(long)> run;
};

template <typename K>
std::size_t Passes(K& kernel, long n) {
  std::size_t sum = 0;
  for (long i = 0; i < n; ++i) sum += kernel.Pass();
  return sum;
}

std::vector<Kernel> Kernels() {
  const int inputs = static_cast<int>(morlex::bench::kDateTextInputs.size());
  std::vector<Kernel> k;
  k.push_back({"DateText_Morlex", inputs, "input", [](long n) {
                 morlex::bench::MorlexDateText kernel;
                 return Passes(kernel, n);
               }});
  k.push_back({"DateText_Morlex_DMY", inputs, "input", [](long n) {
                 morlex::bench::MorlexLayoutDateText kernel({morlex::DayMonthYear, u'.'});
                 return Passes(kernel, n);
               }});
  k.push_back({"DateText_Morlex_YMD", inputs, "input", [](long n) {
                 morlex::bench::MorlexLayoutDateText kernel({morlex::YearMonthDay, u'-'});
                 return Passes(kernel, n);
               }});
  k.push_back({"DateText_Sscanf", inputs, "input", [](long n) {
                 morlex::bench::SscanfDateText kernel;
                 return Passes(kernel, n);
               }});
#ifdef MORLEX_BENCH_HAVE_QT
  k.push_back({"DateText_Qt", inputs, "input", [](long n) {
                 morlex::bench::QtDateText kernel;
                 return Passes(kernel, n);
               }});
#endif
#ifdef MORLEX_BENCH_HAVE_ICU
  k.push_back({"DateText_ICU", inputs, "input", [](long n) {
                 morlex::bench::IcuDateText kernel;
                 return kernel.ok() ? Passes(kernel, n) : 0;
               }});
#endif
#ifdef MORLEX_BENCH_HAVE_HINNANT_DATE
  k.push_back({"DateText_HinnantDate", inputs, "input", [](long n) {
                 morlex::bench::HinnantDateText kernel;
                 return Passes(kernel, n);
               }});
#endif
  k.push_back({"TypeDateDigits", 8, "key", [](long n) {
                 morlex::bench::HeadlessField f;
                 for (long i = 0; i < n; ++i) f.TypeDate();
                 return static_cast<std::size_t>(f.sink->changes);
               }});
  k.push_back({"SpinStep", 2, "step", [](long n) {
                 morlex::bench::HeadlessField f;
                 f.PrepareSpin();
                 for (long i = 0; i < n; ++i) f.SpinUpDown();
                 return static_cast<std::size_t>(f.sink->changes);
               }});
  k.push_back({"CalendarSpinMonth", 1, "step", [](long n) {
                 std::size_t presses = 0;
                 morlex::bench::WithOpenCalendar([&](morlex::headless::UpDown& spin) {
                   for (long i = 0; i < n; ++i) spin.Press(i % 2 == 0);
                   presses = static_cast<std::size_t>(n);
                 });
                 return presses;
               }});
  k.push_back({"CalendarOpenClose", 1, "open", [](long n) {
                 morlex::headless::Toolkit toolkit;
                 const morlex::platform::FixedClock clock({2026, 12, 8});
                 std::size_t sum = 0;
                 for (long i = 0; i < n; ++i) {
                   morlex::frmCalendar dialog(toolkit.CreateForm(morlex::designs::CalendarForm()),
                                              clock);
                   dialog.ShowCalendar(u"3/15/1999");
                   sum += dialog.ReturnDate() ? 1 : 0;
                 }
                 return sum;
               }});
  k.push_back({"FillMonthCells", 1, "month", [](long n) {
                 std::size_t sum = 0;
                 for (long i = 0; i < n; ++i) {
                   const auto cells =
                       morlex::calendar::FillMonthCells(static_cast<int>(i % 12) + 1, 1999, 15);
                   sum += cells[20].caption.size();
                 }
                 return sum;
               }});
  return k;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<Kernel> kernels = Kernels();
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const auto& k : kernels) std::printf("%s %d %s\n", k.name, k.units, k.unit);
    return 0;
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s --list | KERNEL N\n", argv[0]);
    return 2;
  }
  const long n = std::strtol(argv[2], nullptr, 10);
  for (const auto& k : kernels) {
    if (argv[1] == std::string(k.name)) {
      std::printf("%s %ld %zu\n", k.name, n, k.run(n));
      return 0;
    }
  }
  std::fprintf(stderr, "unknown kernel %s\n", argv[1]);
  return 2;
}
