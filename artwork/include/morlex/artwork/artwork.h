#pragma once
// The component's pictures: the calendar button, the about box picture, the
// toolbox picture and the calendar's window icon. They are files (bitmaps and
// an icon), named in the design tables; a toolkit loads them from here.
//
//   auto bytes = morlex::artwork::Load("calendar-button.bmp");
//   // MORLEX_ARTWORK_DIR=/opt/pictures points every program elsewhere.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace morlex::artwork {

// File names of the pictures.
inline constexpr std::string_view kCalendarButton = "calendar-button.bmp";
inline constexpr std::string_view kAboutPicture = "about.bmp";
inline constexpr std::string_view kToolboxPicture = "toolbox.bmp";
inline constexpr std::string_view kCalendarIcon = "calendar.ico";
// The module's bitmap resource number of the toolbox picture.
inline constexpr int kToolboxResource = 30000;

// The folder that holds the pictures: the environment variable
// MORLEX_ARTWORK_DIR when it is set and not empty; else DataFolder("artwork")
// (data_folder.h): the tree's folder for a binary that runs from its build,
// the installed one beside the binary's own install otherwise.
std::filesystem::path Directory();

// The bytes of one picture. Fails with morlex::Error: 5 for a name that is
// not a plain file name (no folders, no ".."), 53 when it is missing, 75
// when it cannot be read or is implausibly large.
std::vector<std::uint8_t> Load(std::string_view name);

// What the header of a bitmap file says. Only uncompressed bitmaps with a
// 40-byte information header and 1, 4 or 8 bits per pixel are accepted.
struct BitmapInfo {
  int width = 0;
  int height = 0;  // positive: rows stored bottom first
  int bits_per_pixel = 0;
  int palette_colours = 0;
  std::size_t file_size = 0;
};
// nullopt when the bytes are not such a bitmap, or its sizes do not add up
// to the bytes given.
std::optional<BitmapInfo> InspectBitmap(std::span<const std::uint8_t> file);

struct IconImageInfo {
  int width = 0;
  int height = 0;
  int colours = 0;
  int bits_per_pixel = 0;
  std::size_t bytes = 0;   // the image's size in the file
  std::size_t offset = 0;  // where it starts
};
// The images of an icon file; nullopt when it is not one or its directory
// points outside the bytes given.
std::optional<std::vector<IconImageInfo>> InspectIcon(std::span<const std::uint8_t> file);

}  // namespace morlex::artwork
