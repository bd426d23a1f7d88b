#pragma once
// Where the project's shared files (the pictures, the translations) are read
// from, for the program or library that holds this code.
//
//   auto pictures = morlex::artwork::DataFolder("artwork");
//   // installed: <prefix>/share/MorlexDateControl/artwork, wherever the
//   // package was unpacked; in a build: the tree's own folder.
//
// An installed binary never looks into the tree it was built in: that folder
// may not exist on the machine it runs on, or belong to someone else. Only a
// binary that still lies in its build folder, next to the marker file the
// build writes there, reads the tree.

#include <filesystem>
#include <string_view>

namespace morlex::artwork {

// The name of the marker file that the build puts next to the programs and
// libraries it makes: lines "kind=folder". An install never copies it.
inline constexpr std::string_view kBuildTreeMarker = "morlexdatecontrol-build-tree";

// The folder of one kind of shared files ("artwork", "translations"):
// - the marker's line for kind, when the marker lies next to the binary that
//   holds this code;
// - else <prefix>/share/MorlexDateControl/<kind>, the prefix being the
//   folder of that binary less the folder it was installed to (bin, the
//   library folder, Qt's designer plugin folder), so a moved install finds
//   its own files;
// - else the same under the prefix the build was configured for (a program
//   that linked the static libraries into a binary of its own).
std::filesystem::path DataFolder(std::string_view kind);

namespace detail {
// The steps of DataFolder, for tests: binary is the file of the binary,
// install_dirs the folders (relative to a prefix) binaries are installed to,
// configured_prefix the fallback.
std::filesystem::path DataFolderFor(const std::filesystem::path& binary, std::string_view kind,
                                    std::string_view install_dirs,
                                    const std::filesystem::path& configured_prefix);
// The file of the binary (program or shared library) that holds this code;
// empty when it cannot be told.
std::filesystem::path ThisBinary();
}  // namespace detail

}  // namespace morlex::artwork
