#pragma once
// The design of the form's date fields: each field's settings in a
// property-bag file of its own ("born.morlexbag", ...) in one folder, saved
// through the control's WriteProperties and given back to ReadProperties.
//
//   SaveFieldDesign(dir, DateColumn::kBorn, control);   // atomic per file
//   if (auto bag = LoadFieldDesign(dir, DateColumn::kBorn, problems))
//     other.ReadProperties(*bag);

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "morlex/storage/property_bag_file.h"
#include "record_store.h"

namespace morlex {
class MorlexDate;
}

namespace morlex::demo {

std::filesystem::path FieldDesignFile(const std::filesystem::path& dir, DateColumn column);

// Whether every field has a design file in dir.
bool HasFormDesign(const std::filesystem::path& dir);

// Writes the control's settings to the column's file (the folder is created).
// Throws morlex::Error; an old file stays whole when writing fails.
void SaveFieldDesign(const std::filesystem::path& dir, DateColumn column, MorlexDate& control);

// The column's stored settings, or nullopt when there is no file. A file
// that is damaged gives what could be read; what was wrong is added to
// problems. Throws morlex::Error when the file exists but cannot be read.
std::optional<storage::FilePropertyBag> LoadFieldDesign(const std::filesystem::path& dir,
                                                        DateColumn column,
                                                        std::vector<std::string>& problems);

}  // namespace morlex::demo
