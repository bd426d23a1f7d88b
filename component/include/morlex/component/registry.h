#pragma once
// The component registry: a text file in which modules record what they
// offer (library, class, interfaces, where the module lives), so that hosts
// can find the class without knowing the module. DllRegisterServer writes
// the component's entries, DllUnregisterServer removes exactly them.
//
// One entry a line, human readable and editable:
//
//   Classes\CLSID\{DA8F975A-1B16-49F1-AA70-C2481B472CBF} = "MorlexDateControl.MorlexDate"
//   Classes\CLSID\{DA8F975A-...}\InprocServer32 @ThreadingModel = "Apartment"
//
// A key, optionally " @" and a value name, " = ", and the value in double
// quotes with \" \\ \n escapes. Blank lines, "#" comments and lines of any
// other form are kept as they are; an entry is identified by its key and
// value name.
//
// Programs change the file at the same time (two installers, an installer and
// a design tool): every change reads, edits and replaces the file while
// holding an advisory lock (flock) on "<file>.lock" beside it, so that none
// writes back what it read over another's change. Readers take no lock; the
// file is always replaced whole.

#include <filesystem>
#include <string>
#include <vector>

namespace morlex::component {

struct RegistryEntry {
  std::string key;
  std::string name;  // empty: the key's own value
  std::string value;

  // "KEY [@NAME] = \"VALUE\""
  std::string Line() const;
};

// The registry file: the environment variable MORLEX_REGISTRY when set and
// not empty; else morlex/registry.txt under $XDG_CONFIG_HOME, or under
// ~/.config. Fails with morlex::Error (75) when none of them is set.
std::filesystem::path RegistryPath();

// The entries that registration writes for a module at module_path.
std::vector<RegistryEntry> RegistrationEntries(const std::string& module_path);

// Adds entries to the registry file (creating it and its folder if needed),
// replacing entries with the same key and name in place; every other line
// stays as it was. The file is replaced atomically. Fails with morlex::Error
// (75), leaving the file as it was, also when another program holds the lock
// for more than 5 seconds.
void AddRegistryEntries(const std::filesystem::path& file,
                        const std::vector<RegistryEntry>& entries);
// Removes the entries with the keys and names of entries (whatever their
// values); every other line stays. A file left with no line at all is
// removed. A missing file, or one without our entries, is not an error and is
// not touched. Fails like AddRegistryEntries.
void RemoveRegistryEntries(const std::filesystem::path& file,
                           const std::vector<RegistryEntry>& entries);

// Reads the entries of a registry file, in file order (lines of other forms
// left out). A missing file has none.
std::vector<RegistryEntry> ReadRegistry(const std::filesystem::path& file);

}  // namespace morlex::component
