#pragma once
// A property bag kept in a file, for hosts that store a control's settings
// between sessions (morlex-host's `save FILE` and `load FILE`, the Qt demo).
//
//   morlex::storage::FilePropertyBag bag;
//   control.WriteProperties(bag);
//   bag.WriteFile("form1.morlexbag");          // atomic: old or new, never half
//
//   auto stored = morlex::storage::FilePropertyBag::ReadFile("form1.morlexbag");
//   control.ReadProperties(stored);            // what was unreadable gives defaults
//
// The file is JSON text in UTF-8, one typed value per key:
//
//   {
//     "format": "MorlexDate property bag",
//     "version": 1,
//     "properties": {
//       "UserCtlWidth": {"type": "single", "value": 1635},
//       "Text": {"type": "string", "value": "12/08/2026"},
//       "Font": {"type": "font", "value": {"name": "MS Sans Serif", "size": 8, ...}}
//     }
//   }
//
// Types: "string", "bool", "long" (32-bit), "single", "double", "font",
// "empty". Every value is stored, defaults included, so that a reader gets
// back exactly what was written, with the kind it was written with.
//
// Reading never trusts the file: a file that is truncated, malformed, nested
// too deeply, not UTF-8, or holds values of unknown or wrong kinds gives a bag
// holding what could be read completely; every key left out reads as its
// default, and Problems() says what was wrong.

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "morlex/platform/host.h"

namespace morlex::storage {

// Bag files larger than this are refused unread.
inline constexpr std::size_t kMaxBagFileSize = 4 * 1024 * 1024;

// The "format" member that marks a bag file.
inline constexpr std::string_view kBagFileFormat = "MorlexDate property bag";

class FilePropertyBag final : public platform::PropertyBag {
 public:
  FilePropertyBag() = default;

  // Reads a bag from the text of a bag file. Never fails.
  static FilePropertyBag Parse(std::string_view text);
  // Reads the file at path. Fails with morlex::Error only when the file
  // cannot be read at all: 53 when it does not exist, 75 when it is not a
  // regular file, cannot be read or is larger than kMaxBagFileSize. Its
  // content never makes it fail.
  static FilePropertyBag ReadFile(const std::filesystem::path& path);

  // The bag as file text.
  std::string Serialize() const;
  // Writes the bag to path atomically (see WriteFileAtomically); fails with
  // morlex::Error (75) and leaves the old file as it was.
  void WriteFile(const std::filesystem::path& path) const;

  // The stored value, with the kind it was written with (a font comes back as
  // a new font object each time), or default_value.
  platform::Variant ReadProperty(std::string_view key,
                                 const platform::Variant& default_value) override;
  // Stores a copy of value (a font's attributes are taken as they are now).
  // The default is not kept: every value is stored.
  void WriteProperty(std::string_view key, const platform::Variant& value,
                     const platform::Variant& default_value) override;

  bool Contains(std::string_view key) const { return index_.find(key) != index_.end(); }
  std::size_t size() const { return entries_.size(); }
  // What reading left out, one line each ("line 3: expected ','",
  // "\"Text\": value is not a string"); empty for a sound file.
  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  void Store(std::string key, platform::Variant value);

  struct Entry {
    std::string key;
    platform::Variant value;
  };
  std::vector<Entry> entries_;  // in the order first written
  std::map<std::string, std::size_t, std::less<>> index_;
  std::vector<std::string> problems_;
};

}  // namespace morlex::storage
