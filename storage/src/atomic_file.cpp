#include "morlex/storage/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "morlex/core/error.h"

namespace morlex::storage {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what, const fs::path& path, int error_number) {
  std::string message = what + " '" + path.string() + "'";
  if (error_number != 0) message += ": " + std::string(std::strerror(error_number));
  throw Error(errnum::kFileFailure, message);
}

// Closes a descriptor and removes the temporary file unless told the rename
// has happened.
class TempFile {
 public:
  TempFile(int fd, fs::path path) : fd_(fd), path_(std::move(path)) {}
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int fd() const { return fd_; }
  const fs::path& path() const { return path_; }
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }
  void Renamed() { renamed_ = true; }

 private:
  int fd_;
  fs::path path_;
  bool renamed_ = false;
};

void WriteAll(int fd, std::string_view content, const fs::path& path) {
  const char* data = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot write", path, errno);
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
}

}  // namespace

void WriteFileAtomically(const fs::path& requested, std::string_view content,
                         const std::function<void()>& before_rename) {
  if (requested.empty()) Fail("No file name given", requested, 0);
  fs::path path = requested;
  std::error_code ec;
  if (fs::is_symlink(path, ec)) {
    const fs::path target = fs::weakly_canonical(path, ec);
    if (!ec) path = target;
  }
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");

  // mkstemp wants a writable template; the name keeps the file's own name so
  // that a leftover from a crash is recognisable.
  // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) about
  // "." + string, which inserts at the front.
  std::string name = ".";
  name += path.filename().string();
  name += ".tmp-XXXXXX";
  std::string pattern = (folder / name).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) Fail("Cannot create a temporary file beside", path, errno);
  TempFile temp(fd, pattern);

  // The new file keeps the permissions of the one it replaces.
  struct stat old_stat {};
  const mode_t mode = ::stat(path.c_str(), &old_stat) == 0 ? (old_stat.st_mode & 07777) : 0644;
  if (::fchmod(temp.fd(), mode) != 0) Fail("Cannot set the permissions of", temp.path(), errno);

  WriteAll(temp.fd(), content, temp.path());
  if (::fsync(temp.fd()) != 0) Fail("Cannot flush", temp.path(), errno);
  if (temp.Close() != 0) Fail("Cannot close", temp.path(), errno);

  if (before_rename) before_rename();

  if (::rename(temp.path().c_str(), path.c_str()) != 0) Fail("Cannot replace", path, errno);
  temp.Renamed();

  // The rename itself is only durable once the folder is flushed too.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
}

std::string ReadWholeFile(const fs::path& path, std::size_t max_size) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) {
    throw Error(errnum::kFileNotFound,
                ErrorMessage(errnum::kFileNotFound, "'" + path.string() + "'"));
  }
  if (!fs::is_regular_file(status)) Fail("Not a regular file:", path, 0);
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("Cannot open", path, errno);
  // Read at most one byte past the limit, whatever size the file claims: a
  // file that grows while it is read cannot make this read more.
  std::string content;
  char buffer[16384];
  while (in) {
    in.read(buffer, sizeof buffer);
    content.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (content.size() > max_size) {
      Fail("File too large (more than " + std::to_string(max_size) + " bytes):", path, 0);
    }
  }
  if (in.bad()) Fail("Cannot read", path, errno);
  return content;
}

}  // namespace morlex::storage
