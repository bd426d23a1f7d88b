// Programs changing the registry at the same time: the module registering
// and unregistering itself while other programs add and remove their own
// entries through the same code. Nobody's change may be lost, a writer that
// dies halfway leaves the old file whole, and a lock that is never released
// ends in a clear error rather than a hang.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "morlex/component/module_abi.h"
#include "morlex/component/registry.h"
#include "morlex/core/error.h"
#include "registry_lock_p.h"  // the lock's wait and a writer killed mid-change

namespace {

namespace fs = std::filesystem;
namespace component = morlex::component;
using component::RegistryEntry;
using std::chrono::milliseconds;

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Runs fn in a child process; its return value becomes the exit status. The
// child never returns into the test runner: it leaves with _exit, so that no
// destructor or atexit handler of the parent's state runs twice. With a gate
// (a pipe), the child starts once the parent closes the pipe's write end.
pid_t Spawn(const int* gate, const std::function<int()>& fn) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::alarm(60);  // a child that hangs must not hang the test run
  int status = 99;
  try {
    if (gate != nullptr) {
      ::close(gate[1]);
      char c;
      (void)::read(gate[0], &c, 1);
    }
    status = fn();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "child %d: %s\n", static_cast<int>(::getpid()), e.what());
    status = 98;
  }
  std::fflush(stderr);
  ::_exit(status);
}

int Wait(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class RegistryConcurrency : public testing::Test {
 protected:
  void SetUp() override {
    // A parameterised test's name holds a slash: kept, it would make a
    // folder inside a folder, and TearDown would remove only the inner one.
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    folder_ =
        fs::path(testing::TempDir()) / ("morlex-regc-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    file_ = folder_ / "registry.txt";
  }
  void TearDown() override {
    component::detail::SetRegistryLockWaitForTesting(milliseconds{-1});
    component::detail::SetRegistryBeforeReplaceForTesting({});
    ::unsetenv("MORLEX_REGISTRY");
    fs::remove_all(folder_);
  }

  // Every file in the folder but the registry and its lock: leftovers.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& f : fs::directory_iterator(folder_)) {
      const std::string name = f.path().filename().string();
      if (name != "registry.txt" && name != "registry.txt.lock") names.push_back(name);
    }
    return names;
  }

  fs::path folder_;
  fs::path file_;
};

// --- Many writers at once ----------------------------------------------------

// What each foreign program owns: entries under its own key, with values
// that exercise the quoting (quotes, backslashes, line breaks, UTF-8, text
// that looks like another entry).
constexpr int kForeignKeys = 6;
RegistryEntry ForeignEntry(int program, int k) {
  static const char* const kValues[] = {"plain",
                                        "with \"quotes\" and \\ back",
                                        "two\nlines",
                                        "Jos\xC3\xA9 \xE2\x82\xAC",
                                        "X = \"not a line\"",
                                        ""};
  return {"Classes\\Foreign" + std::to_string(program) + "\\Key" + std::to_string(k),
          k % 3 == 2 ? "Named" : "", kValues[k % kForeignKeys] + std::to_string(program)};
}

// A foreign program's steps, the same in the child that runs them and in the
// parent that replays them: each toggles one or two of its entries.
struct ForeignStep {
  bool add;
  std::vector<int> keys;
};
std::vector<ForeignStep> ForeignSteps(int program, int count) {
  std::mt19937 rng(static_cast<std::mt19937::result_type>(1000 + program));
  std::set<int> present;
  std::vector<ForeignStep> steps;
  for (int i = 0; i < count; ++i) {
    const int first = static_cast<int>(rng() % kForeignKeys);
    ForeignStep step{present.count(first) == 0, {first}};
    const int second = static_cast<int>(rng() % kForeignKeys);
    if (second != first && (present.count(second) == 0) == step.add) step.keys.push_back(second);
    for (int k : step.keys) step.add ? (void)present.insert(k) : (void)present.erase(k);
    steps.push_back(std::move(step));
  }
  return steps;
}

std::set<std::string> ForeignLinesAfter(int program, const std::vector<ForeignStep>& steps) {
  std::set<int> present;
  for (const auto& step : steps) {
    for (int k : step.keys) step.add ? (void)present.insert(k) : (void)present.erase(k);
  }
  std::set<std::string> lines;
  for (int k : present) lines.insert(ForeignEntry(program, k).Line());
  return lines;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct StressCase {
  const char* name;
  bool last_call_registers;
};

void PrintTo(const StressCase& c, std::ostream* os) {
  *os << c.name;
}

class RegistryStress : public RegistryConcurrency,
                       public testing::WithParamInterface<StressCase> {};

TEST_P(RegistryStress, NobodysChangeIsLost) {
  constexpr int kModulePrograms = 2;
  constexpr int kForeignPrograms = 3;
  constexpr int kSteps = 12;

  // Lines of yet another program that nobody touches during the run.
  const std::string untouched =
      "# installed by hand\nClasses\\Other.Thing = \"Thing\"\nnot an entry, kept as it is\n";
  { std::ofstream(file_, std::ios::binary) << untouched; }
  ::setenv("MORLEX_REGISTRY", file_.c_str(), 1);
  void* lib = ::dlopen(MORLEX_MODULE_FILE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << ::dlerror();
  const auto reg = reinterpret_cast<MxDllRegisterServerFn>(::dlsym(lib, "DllRegisterServer"));
  const auto unreg = reinterpret_cast<MxDllUnregisterServerFn>(::dlsym(lib, "DllUnregisterServer"));
  ASSERT_TRUE(reg && unreg);

  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  const auto started = std::chrono::steady_clock::now();
  std::map<pid_t, std::string> children;
  for (int m = 0; m < kModulePrograms; ++m) {
    const bool last_registers = GetParam().last_call_registers;
    children[Spawn(gate, [m, reg, unreg, last_registers] {
      std::mt19937 rng(static_cast<std::mt19937::result_type>(m));
      for (int i = 0; i < kSteps; ++i) {
        const bool registers = i + 1 == kSteps ? last_registers : rng() % 2 == 0;
        if ((registers ? reg() : unreg()) != MX_S_OK) return 1;
      }
      return 0;
    })] = "module program " + std::to_string(m);
  }
  for (int p = 0; p < kForeignPrograms; ++p) {
    children[Spawn(gate, [this, p] {
      // Nobody else touches this program's entries: after each of its own
      // changes the file must hold exactly the ones it has added.
      std::set<int> present;
      for (const auto& step : ForeignSteps(p, kSteps)) {
        std::vector<RegistryEntry> entries;
        for (int k : step.keys) entries.push_back(ForeignEntry(p, k));
        if (step.add) {
          component::AddRegistryEntries(file_, entries);
        } else {
          component::RemoveRegistryEntries(file_, entries);
        }
        for (int k : step.keys) step.add ? (void)present.insert(k) : (void)present.erase(k);
        std::set<std::string> found;
        const std::string prefix = "Classes\\Foreign" + std::to_string(p) + "\\";
        for (const auto& e : component::ReadRegistry(file_)) {
          if (e.key.rfind(prefix, 0) == 0 && !found.insert(e.Line()).second) return 2;
        }
        std::set<std::string> expected;
        for (int k : present) expected.insert(ForeignEntry(p, k).Line());
        if (found != expected) return 3;
      }
      return 0;
    })] = "foreign program " + std::to_string(p);
  }
  ::close(gate[0]);
  ::close(gate[1]);  // off they go
  for (const auto& [pid, name] : children) EXPECT_EQ(Wait(pid), 0) << name;
  const auto took =
      std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - started);
  std::printf("%d module and %d foreign programs, %d changes each: %lld ms\n", kModulePrograms,
              kForeignPrograms, kSteps, static_cast<long long>(took.count()));
  ::dlclose(lib);

  // The file reads cleanly: the untouched lines first, as they were, then
  // only entries, each of them expected and none twice.
  const std::string text = ReadText(file_);
  ASSERT_EQ(text.substr(0, untouched.size()), untouched);
  std::multiset<std::string> rest;
  for (const auto& line : LinesOf(text.substr(untouched.size()))) rest.insert(line);
  EXPECT_EQ(component::ReadRegistry(file_).size(), rest.size() + 1);

  std::multiset<std::string> expected;
  for (int p = 0; p < kForeignPrograms; ++p) {
    for (const auto& line : ForeignLinesAfter(p, ForeignSteps(p, kSteps))) expected.insert(line);
  }
  if (GetParam().last_call_registers) {
    for (const auto& e :
         component::RegistrationEntries(fs::absolute(MORLEX_MODULE_FILE).string())) {
      expected.insert(e.Line());
    }
  }
  std::vector<std::string> missing, extra;
  std::set_difference(expected.begin(), expected.end(), rest.begin(), rest.end(),
                      std::back_inserter(missing));
  std::set_difference(rest.begin(), rest.end(), expected.begin(), expected.end(),
                      std::back_inserter(extra));
  EXPECT_EQ(missing, std::vector<std::string>());
  EXPECT_EQ(extra, std::vector<std::string>());
  EXPECT_TRUE(Leftovers().empty());
}

INSTANTIATE_TEST_SUITE_P(LastCall, RegistryStress,
                         testing::Values(StressCase{"Registers", true},
                                         StressCase{"Unregisters", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- A writer that dies, a lock that stays -------------------------------------

TEST_F(RegistryConcurrency, AWriterKilledBeforeTheReplaceLeavesTheOldFileWhole) {
  const std::vector<RegistryEntry> ours = {{"Ours\\A", "", "1"}, {"Ours\\B", "V", "2"}};
  const std::vector<std::function<void()>> changes = {
      [&] {
        component::AddRegistryEntries(file_, {{"Ours\\C", "", "new"}});
      },
      [&] { component::RemoveRegistryEntries(file_, {ours[0]}); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    SCOPED_TRACE(i == 0 ? "adding" : "removing");
    fs::remove_all(folder_);
    component::AddRegistryEntries(file_, ours);
    const std::string before = ReadText(file_);

    component::detail::SetRegistryBeforeReplaceForTesting([] { ::raise(SIGKILL); });
    const pid_t child = Spawn(nullptr, [&] {
      changes[i]();
      return 0;
    });
    component::detail::SetRegistryBeforeReplaceForTesting({});
    ASSERT_EQ(Wait(child), 128 + SIGKILL);

    EXPECT_EQ(ReadText(file_), before);
    const auto leftovers = Leftovers();  // the new content, written in full but never put in place
    ASSERT_EQ(leftovers.size(), 1U);
    EXPECT_EQ(leftovers[0].rfind(".registry.txt.tmp-", 0), 0U) << leftovers[0];

    // The dead writer's lock went with it: the next change does not wait.
    component::detail::SetRegistryLockWaitForTesting(milliseconds{0});
    changes[i]();
    EXPECT_NE(ReadText(file_), before);
  }
}

TEST_F(RegistryConcurrency, ALockHeldTooLongIsAClearErrorAndChangesNothing) {
  component::AddRegistryEntries(file_, {{"Ours\\A", "", "1"}});
  const std::string before = ReadText(file_);

  // Another program holds the lock (its own open of the lock file, as
  // another process would have).
  const int holder = ::open(component::detail::RegistryLockPath(file_).c_str(), O_RDWR);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  component::detail::SetRegistryLockWaitForTesting(milliseconds{150});

  const std::vector<std::function<void()>> changes = {
      [&] {
        component::AddRegistryEntries(file_, {{"Ours\\B", "", "2"}});
      },
      [&] {
        component::RemoveRegistryEntries(file_, {{"Ours\\A", "", ""}});
      },
  };
  for (const auto& change : changes) {
    const auto started = std::chrono::steady_clock::now();
    try {
      change();
      ADD_FAILURE() << "changed the registry without its lock";
    } catch (const morlex::Error& e) {
      EXPECT_EQ(e.number(), morlex::errnum::kFileFailure);
      EXPECT_NE(e.description().find("'" + file_.string() +
                                     "' is being changed by another program: its lock was not "
                                     "released within 150 ms"),
                std::string::npos)
          << e.description();
    }
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_GE(waited, milliseconds{150});
    EXPECT_LT(waited, milliseconds{1500});
  }
  EXPECT_EQ(ReadText(file_), before);
  // Taking out what is not there needs no lock.
  EXPECT_NO_THROW(component::RemoveRegistryEntries(file_, {{"Ours\\B", "", ""}}));

  ::close(holder);
  EXPECT_NO_THROW(changes[0]());
  EXPECT_EQ(component::ReadRegistry(file_).size(), 2U);
}

}  // namespace
