#pragma once
// Small files that must never be left half written: property-bag files and
// the component registry.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace morlex::storage {

// Replaces the file at path with content, so that anyone reading it, and a
// crash at any moment, finds either the old file whole or the new one whole:
// the content goes to a temporary file in the same folder, is flushed to the
// disk, and then renamed over the old file (a symbolic link is followed, so
// the file it names is replaced). Fails with morlex::Error (75) naming the
// step that failed; the old file is then untouched and the temporary file
// removed.
//
// before_rename, when set, runs once the new content is safely on disk and
// just before it replaces the old file; a failure thrown from it is treated
// like a crash at that point (tests use it to prove nothing is lost).
void WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         const std::function<void()>& before_rename = {});

// Reads a whole regular file of at most max_size bytes. Fails with
// morlex::Error: 53 when it does not exist, 75 when it is not a regular file,
// cannot be read, or is larger than max_size.
std::string ReadWholeFile(const std::filesystem::path& path, std::size_t max_size);

}  // namespace morlex::storage
