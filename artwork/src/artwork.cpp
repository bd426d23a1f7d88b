#include "morlex/artwork/artwork.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "morlex/artwork/data_folder.h"
#include "morlex/core/error.h"

namespace morlex::artwork {
namespace {

namespace fs = std::filesystem;

// No picture of the component comes near this; a bigger file is not one.
constexpr std::size_t kMaxPictureSize = 1024 * 1024;

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::int32_t I32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int32_t>(U32(b, at));
}

std::size_t RowBytes(std::int64_t width, int bits) {
  return static_cast<std::size_t>(((width * bits + 31) / 32) * 4);
}

}  // namespace

fs::path Directory() {
  if (const char* env = std::getenv("MORLEX_ARTWORK_DIR"); env != nullptr && *env != '\0') {
    return env;
  }
  return DataFolder("artwork");
}

std::vector<std::uint8_t> Load(std::string_view name) {
  const fs::path file(name);
  if (name.empty() || file.has_parent_path() || file.is_absolute() || name == "." || name == "..") {
    throw Error(errnum::kInvalidCall, "Not a picture name: '" + std::string(name) + "'");
  }
  const fs::path path = Directory() / file;
  std::error_code ec;
  if (!fs::exists(path, ec))
    throw Error(errnum::kFileNotFound,
                ErrorMessage(errnum::kFileNotFound, "'" + path.string() + "'"));
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error(errnum::kFileFailure, "Cannot open '" + path.string() + "'");
  std::vector<std::uint8_t> bytes;
  char buffer[4096];
  while (in) {
    in.read(buffer, sizeof buffer);
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    if (bytes.size() > kMaxPictureSize) {
      throw Error(errnum::kFileFailure, "Picture too large: '" + path.string() + "'");
    }
  }
  if (in.bad()) throw Error(errnum::kFileFailure, "Cannot read '" + path.string() + "'");
  return bytes;
}

std::optional<BitmapInfo> InspectBitmap(std::span<const std::uint8_t> b) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  if (U32(b, 2) != b.size() || U32(b, 14) != 40) return std::nullopt;
  BitmapInfo info;
  const std::int32_t width = I32(b, 18);
  const std::int32_t height = I32(b, 22);
  const int planes = U16(b, 26);
  info.bits_per_pixel = U16(b, 28);
  const std::uint32_t compression = U32(b, 30);
  if (width <= 0 || width > 4096 || height == 0 || height > 4096 || height < -4096 || planes != 1 ||
      compression != 0) {
    return std::nullopt;
  }
  if (info.bits_per_pixel != 1 && info.bits_per_pixel != 4 && info.bits_per_pixel != 8) {
    return std::nullopt;
  }
  const std::uint32_t used = U32(b, 46);
  const std::uint32_t max_colours = 1U << info.bits_per_pixel;
  if (used > max_colours) return std::nullopt;
  info.palette_colours = static_cast<int>(used == 0 ? max_colours : used);
  info.width = width;
  info.height = height;
  const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
  const std::size_t pixels_at = 14 + 40 + 4 * static_cast<std::size_t>(info.palette_colours);
  if (U32(b, 10) != pixels_at) return std::nullopt;
  if (pixels_at + rows * RowBytes(width, info.bits_per_pixel) != b.size()) return std::nullopt;
  info.file_size = b.size();
  return info;
}

std::optional<std::vector<IconImageInfo>> InspectIcon(std::span<const std::uint8_t> b) {
  if (b.size() < 6 || U16(b, 0) != 0 || U16(b, 2) != 1) return std::nullopt;
  const std::size_t count = U16(b, 4);
  if (count == 0 || 6 + 16 * count > b.size()) return std::nullopt;
  std::vector<IconImageInfo> images;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 6 + 16 * i;
    IconImageInfo img;
    img.width = b[at] == 0 ? 256 : b[at];
    img.height = b[at + 1] == 0 ? 256 : b[at + 1];
    img.colours = b[at + 2];
    img.bits_per_pixel = U16(b, at + 6);
    img.bytes = U32(b, at + 8);
    img.offset = U32(b, at + 12);
    if (img.offset > b.size() || img.bytes > b.size() - img.offset || img.bytes < 40) {
      return std::nullopt;
    }
    // The image itself: an information header whose height counts the
    // colour rows and the transparency mask rows.
    const auto dib = b.subspan(img.offset, img.bytes);
    if (U32(dib, 0) != 40 || I32(dib, 4) != img.width || I32(dib, 8) != 2 * img.height ||
        U16(dib, 14) != img.bits_per_pixel) {
      return std::nullopt;
    }
    const int bits = img.bits_per_pixel;
    if (bits != 4 && bits != 8) return std::nullopt;
    const std::size_t palette = 4 * (std::size_t{1} << bits);
    const std::size_t expected = 40 + palette +
                                 static_cast<std::size_t>(img.height) * RowBytes(img.width, bits) +
                                 static_cast<std::size_t>(img.height) * RowBytes(img.width, 1);
    if (expected != img.bytes) return std::nullopt;
    images.push_back(img);
  }
  return images;
}

}  // namespace morlex::artwork
