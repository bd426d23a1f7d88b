#include "morlex/artwork/data_folder.h"

#include <link.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace morlex::artwork {
namespace {

namespace fs = std::filesystem;

// A marker is a few short lines; anything bigger is not one.
constexpr std::streamsize kMaxMarkerSize = 4096;

// The folders, relative to a prefix, that binaries are installed to,
// separated by ':'; and the prefix the build was configured with.
#ifndef MORLEX_INSTALL_BINARY_DIRS
#define MORLEX_INSTALL_BINARY_DIRS "bin:lib"
#endif
#ifndef MORLEX_INSTALL_PREFIX
#define MORLEX_INSTALL_PREFIX "/usr/local"
#endif
#ifndef MORLEX_INSTALL_DATA_DIR
#define MORLEX_INSTALL_DATA_DIR "share/MorlexDateControl"
#endif

// The marker's folder for kind, or empty.
fs::path FromMarker(const fs::path& marker, std::string_view kind) {
  std::error_code ec;
  if (!fs::is_regular_file(marker, ec)) return {};
  std::ifstream in(marker);
  std::string line;
  std::streamsize read = 0;
  while (read < kMaxMarkerSize && std::getline(in, line)) {
    read += static_cast<std::streamsize>(line.size()) + 1;
    if (line.size() > kind.size() && line.compare(0, kind.size(), kind) == 0 &&
        line[kind.size()] == '=') {
      return fs::path(line.substr(kind.size() + 1));
    }
  }
  return {};
}

// folder less its trailing relative path dir ("lib/x86_64-linux-gnu"), or
// empty when it does not end in it.
fs::path PrefixOf(const fs::path& folder, const fs::path& dir) {
  fs::path prefix = folder;
  std::vector<fs::path> tail(dir.begin(), dir.end());
  for (auto part = tail.rbegin(); part != tail.rend(); ++part) {
    if (part->empty() || *part == ".") continue;
    if (!prefix.has_relative_path() || prefix.filename() != *part) return {};
    prefix = prefix.parent_path();
  }
  return prefix;
}

struct Search {
  std::uintptr_t address;
  fs::path file;
  bool found = false;
};

int FindObject(dl_phdr_info* info, std::size_t, void* data) {
  auto* search = static_cast<Search*>(data);
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const auto& header = info->dlpi_phdr[i];
    if (header.p_type != PT_LOAD) continue;
    const std::uintptr_t start = info->dlpi_addr + header.p_vaddr;
    if (search->address < start || search->address - start >= header.p_memsz) continue;
    // The program itself has no name in the list.
    const bool program = info->dlpi_name == nullptr || info->dlpi_name[0] == '\0';
    search->file = program ? fs::path("/proc/self/exe") : fs::path(info->dlpi_name);
    search->found = true;
    return 1;
  }
  return 0;
}

const char kAnchor = 0;

}  // namespace

namespace detail {

fs::path ThisBinary() {
  Search search{reinterpret_cast<std::uintptr_t>(&kAnchor), {}};
  dl_iterate_phdr(FindObject, &search);
  if (!search.found) return {};
  std::error_code ec;
  fs::path file = fs::canonical(search.file, ec);
  return ec ? fs::path() : file;
}

fs::path DataFolderFor(const fs::path& binary, std::string_view kind, std::string_view install_dirs,
                       const fs::path& configured_prefix) {
  const fs::path data = fs::path(MORLEX_INSTALL_DATA_DIR) / std::string(kind);
  if (!binary.empty() && binary.has_parent_path()) {
    const fs::path folder = binary.parent_path();
    if (fs::path tree = FromMarker(folder / kBuildTreeMarker, kind); !tree.empty()) return tree;
    while (!install_dirs.empty()) {
      const std::size_t end = install_dirs.find(':');
      const std::string_view dir = install_dirs.substr(0, end);
      install_dirs =
          end == std::string_view::npos ? std::string_view() : install_dirs.substr(end + 1);
      if (dir.empty()) continue;
      if (fs::path prefix = PrefixOf(folder, fs::path(dir)); !prefix.empty()) {
        return prefix / data;
      }
    }
  }
  return configured_prefix / data;
}

}  // namespace detail

fs::path DataFolder(std::string_view kind) {
  // The binary does not move while it runs.
  static const fs::path binary = detail::ThisBinary();
  return detail::DataFolderFor(binary, kind, MORLEX_INSTALL_BINARY_DIRS, MORLEX_INSTALL_PREFIX);
}

}  // namespace morlex::artwork
