#pragma once
// The lock that keeps programs changing the registry file at the same time
// from writing back what they read and losing each other's changes, and the
// seams through which the tests reach inside a change. Private to the
// component: nothing outside registry.cpp and its tests uses it.

#include <chrono>
#include <filesystem>
#include <functional>

namespace morlex::component::detail {

// The lock file beside the registry: "<registry file>.lock" (beside the file
// a symbolic link names, as that is the file being replaced). It is never
// removed: a process waiting on a removed lock file would hold a lock nobody
// else sees.
std::filesystem::path RegistryLockPath(const std::filesystem::path& registry);

// An exclusive advisory lock (flock) on the registry's lock file, held for
// the object's lifetime. The kernel drops it when the process ends in any
// way, so a crashed writer never blocks the others. Waits at most
// RegistryLockWait() for a holder to let go; fails with morlex::Error (75)
// naming the registry when it cannot be had or the lock file not opened.
class RegistryLock {
 public:
  explicit RegistryLock(const std::filesystem::path& registry);
  ~RegistryLock();
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;

 private:
  int fd_ = -1;
};

// How long a change of the registry waits for the lock: 5 seconds.
std::chrono::milliseconds RegistryLockWait();

// Test seams. Not synchronised: set them before the calls they affect.
// The wait for the lock (a negative value restores the default).
void SetRegistryLockWaitForTesting(std::chrono::milliseconds wait);
// Runs while the lock is held, once the registry's new content is on disk and
// just before it replaces the old file; empty to clear.
void SetRegistryBeforeReplaceForTesting(std::function<void()> hook);
const std::function<void()>& RegistryBeforeReplace();

}  // namespace morlex::component::detail
