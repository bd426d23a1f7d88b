#include "registry_lock_p.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>

#include "morlex/core/error.h"

namespace morlex::component::detail {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// A registry change reads, edits and rewrites a file of a few kilobytes: a
// few milliseconds. Seconds of waiting mean a holder that is stuck, not busy.
constexpr milliseconds kDefaultWait{5000};

std::atomic<long long> g_wait_ms{kDefaultWait.count()};
std::function<void()> g_before_replace;

}  // namespace

fs::path RegistryLockPath(const fs::path& registry) {
  fs::path file = registry;
  std::error_code ec;
  if (fs::is_symlink(file, ec)) {
    const fs::path target = fs::weakly_canonical(file, ec);
    if (!ec) file = target;
  }
  file += ".lock";
  return file;
}

RegistryLock::RegistryLock(const fs::path& registry) {
  const fs::path path = RegistryLockPath(registry);
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  // A lock file already there in a folder we may not write to still locks
  // (flock needs no write access); the change itself will then say why it
  // cannot be written.
  if (fd_ < 0 && (errno == EACCES || errno == EROFS))
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    throw Error(errnum::kFileFailure, "Cannot open the registry's lock file '" + path.string() +
                                          "': " + std::strerror(errno));
  }
  // Polling rather than a blocking flock bounds the wait without signals,
  // which a library must not take from its host. The pause grows to a few
  // milliseconds so that a waiter neither spins nor misses its turn for long.
  const milliseconds wait = RegistryLockWait();
  const auto deadline = std::chrono::steady_clock::now() + wait;
  milliseconds pause{1};
  for (;;) {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      ::close(fd_);
      fd_ = -1;
      if (error != EWOULDBLOCK) {
        throw Error(errnum::kFileFailure, "Cannot lock the registry's lock file '" + path.string() +
                                              "': " + std::strerror(error));
      }
      throw Error(errnum::kFileFailure,
                  "The registry '" + registry.string() +
                      "' is being changed by another program: its lock was not released within " +
                      std::to_string(wait.count()) + " ms ('" + path.string() + "')");
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, milliseconds{8});
  }
}

RegistryLock::~RegistryLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the only descriptor releases the lock
}

milliseconds RegistryLockWait() {
  return milliseconds{g_wait_ms.load()};
}

void SetRegistryLockWaitForTesting(milliseconds wait) {
  g_wait_ms = wait.count() < 0 ? kDefaultWait.count() : wait.count();
}

void SetRegistryBeforeReplaceForTesting(std::function<void()> hook) {
  g_before_replace = std::move(hook);
}

const std::function<void()>& RegistryBeforeReplace() {
  return g_before_replace;
}

}  // namespace morlex::component::detail
