#include "morlex/component/registry.h"

#include <cstdlib>
#include <optional>
#include <set>
#include <system_error>

#include "morlex/component/type_library.h"
#include "morlex/core/error.h"
#include "morlex/core/quoted_text.h"
#include "morlex/storage/atomic_file.h"
#include "registry_lock_p.h"

namespace morlex::component {
namespace {

namespace fs = std::filesystem;

// A registry of many thousands of entries is still far below this.
constexpr std::size_t kMaxRegistrySize = 16 * 1024 * 1024;

std::string QuoteValue(const std::string& value) {
  std::string out = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out.push_back(c);
    }
  }
  return out + "\"";
}

// Parses one line; nullopt for blank lines, comments and anything else that
// is not an entry.
std::optional<RegistryEntry> ParseLine(const std::string& line) {
  if (line.empty() || line[0] == '#') return std::nullopt;
  const std::size_t eq = line.find(" = \"");
  if (eq == std::string::npos || eq == 0) return std::nullopt;
  RegistryEntry e;
  std::string head = line.substr(0, eq);
  if (const std::size_t at = head.find(" @"); at != std::string::npos) {
    e.name = head.substr(at + 2);
    head.resize(at);
    if (e.name.empty()) return std::nullopt;
  }
  e.key = std::move(head);
  std::size_t i = eq + 4;
  if (ReadQuoted(line, i, e.value, /*newline_escape=*/true) != QuotedRead::kRead ||
      i != line.size()) {
    return std::nullopt;
  }
  return e;
}

std::string Identity(const RegistryEntry& e) {
  return e.key + '\n' + e.name;
}

std::vector<std::string> ReadLines(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return {};
  std::string text;
  try {
    text = storage::ReadWholeFile(file, kMaxRegistrySize);
  } catch (const Error&) {
    // Readers take no lock: the last entry's removal may take the file away
    // between the look and the read, which is a registry with nothing in it.
    if (!fs::exists(file, ec) && !ec) return {};
    throw;
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void WriteLines(const fs::path& file, const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + '\n';
  storage::WriteFileAtomically(file, text, detail::RegistryBeforeReplace());
}

}  // namespace

std::string RegistryEntry::Line() const {
  return key + (name.empty() ? "" : " @" + name) + " = " + QuoteValue(value);
}

fs::path RegistryPath() {
  if (const char* env = std::getenv("MORLEX_REGISTRY"); env != nullptr && *env != '\0') {
    return env;
  }
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
    return fs::path(xdg) / "morlex" / "registry.txt";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return fs::path(home) / ".config" / "morlex" / "registry.txt";
  }
  throw Error(errnum::kFileFailure,
              "No registry file: set MORLEX_REGISTRY, XDG_CONFIG_HOME or HOME");
}

std::vector<RegistryEntry> RegistrationEntries(const std::string& module_path) {
  const RegistrationData& r = Registration();
  const std::string version =
      std::to_string(r.major_version) + "." + std::to_string(r.minor_version);
  const std::string lib = "Classes\\TypeLib\\" + kLibraryId.Text() + "\\" + version;
  const std::string clsid = "Classes\\CLSID\\" + kClassId.Text();
  const std::string progid = std::string(r.library_name) + "." + std::string(r.class_name);
  const std::string iface = "Classes\\Interface\\" + kInterfaceId.Text();
  const std::string events = "Classes\\Interface\\" + kEventInterfaceId.Text();
  return {
      {lib, "", std::string(r.library_description)},
      {lib + "\\FLAGS", "", "2"},  // a library of controls
      {lib + "\\0\\linux", "", module_path},
      {lib + "\\HELPDIR", "", std::string(r.help_directory)},
      {"Classes\\" + progid, "", std::string(r.class_name)},
      {"Classes\\" + progid + "\\CLSID", "", kClassId.Text()},
      {clsid, "", progid},
      {clsid + "\\InprocServer32", "", module_path},
      {clsid + "\\InprocServer32", "ThreadingModel", std::string(r.threading_model)},
      {clsid + "\\ProgID", "", progid},
      {clsid + "\\VERSION", "", version},
      {clsid + "\\TypeLib", "", kLibraryId.Text()},
      {clsid + "\\Control", "", ""},
      {clsid + "\\ObjectNumber", "", std::to_string(r.object_number)},
      {clsid + "\\MiscStatus", "", "0"},
      {clsid + "\\MiscStatus\\1", "", std::to_string(r.misc_status)},
      {clsid + "\\ToolboxBitmap32", "", module_path + ", " + std::to_string(r.toolbox_bitmap)},
      {iface, "", "_MorlexDate"},
      {iface + "\\TypeLib", "", kLibraryId.Text()},
      {iface + "\\TypeLib", "Version", version},
      {events, "", "__MorlexDate"},
      {events + "\\TypeLib", "", kLibraryId.Text()},
      {events + "\\TypeLib", "Version", version},
  };
}

void AddRegistryEntries(const fs::path& file, const std::vector<RegistryEntry>& entries) {
  if (file.has_parent_path()) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) {
      throw Error(errnum::kFileFailure,
                  "Cannot create '" + file.parent_path().string() + "': " + ec.message());
    }
  }
  // From the read to the replace nobody else may change the file, or one of
  // the two changes is lost.
  const detail::RegistryLock lock(file);
  std::vector<std::string> lines = ReadLines(file);
  std::set<std::string> written;
  std::vector<std::string> out;
  out.reserve(lines.size() + entries.size());
  for (auto& line : lines) {
    const auto parsed = ParseLine(line);
    const RegistryEntry* ours = nullptr;
    if (parsed) {
      for (const auto& e : entries) {
        if (e.key == parsed->key && e.name == parsed->name) ours = &e;
      }
    }
    if (ours == nullptr) {
      out.push_back(std::move(line));
    } else if (written.insert(Identity(*ours)).second) {
      out.push_back(ours->Line());  // replaced where it stood; duplicates dropped
    }
  }
  for (const auto& e : entries) {
    if (written.insert(Identity(e)).second) out.push_back(e.Line());
  }
  WriteLines(file, out);
}

void RemoveRegistryEntries(const fs::path& file, const std::vector<RegistryEntry>& entries) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return;
  std::set<std::string> ours;
  for (const auto& e : entries) ours.insert(Identity(e));
  // The lines left once ours are out; nothing when none of ours is there.
  const auto without_ours = [&ours](const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) {
      const auto parsed = ParseLine(line);
      if (parsed && ours.count(Identity(*parsed)) != 0) continue;
      out.push_back(line);
    }
    return out.size() == lines.size() ? std::optional<std::vector<std::string>>()
                                      : std::optional(std::move(out));
  };
  // Nothing of ours: the file is left untouched, and that needs no lock (nor
  // the right to create one). Whoever adds ours after this look comes after
  // this call.
  if (!without_ours(ReadLines(file))) return;

  const detail::RegistryLock lock(file);
  const auto out = without_ours(ReadLines(file));
  if (!out) return;  // another program took them out meanwhile
  if (out->empty()) {
    if (!fs::remove(file, ec) && ec) {
      throw Error(errnum::kFileFailure, "Cannot remove '" + file.string() + "': " + ec.message());
    }
    return;
  }
  WriteLines(file, *out);
}

std::vector<RegistryEntry> ReadRegistry(const fs::path& file) {
  std::vector<RegistryEntry> entries;
  for (const auto& line : ReadLines(file)) {
    if (auto e = ParseLine(line)) entries.push_back(std::move(*e));
  }
  return entries;
}

}  // namespace morlex::component
