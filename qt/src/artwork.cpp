// The pictures of the surfaces: read from the component's artwork files, or
// drawn when a file is missing or damaged so that no form shows an empty
// button.
#include <QPainter>
#include <QPixmap>
#include <exception>
#include <filesystem>
#include <map>
#include <system_error>

#include "artwork_p.h"
#include "morlex/artwork/artwork.h"

namespace morlex::qt::detail {
namespace {

void Fill(QImage& image, int x0, int y0, int x1, int y1, QRgb color) {
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) image.setPixel(x, y, color);
  }
}

// A calendar page 17 x 16: a navy band three pixels high across the top, a
// white sheet with three rows of three black day marks, a black edge, on the
// silver of the button face.
QImage DrawCalendarButton() {
  QImage image(17, 16, QImage::Format_RGB32);
  image.fill(qRgb(192, 192, 192));
  const QRgb black = qRgb(0, 0, 0);
  Fill(image, 2, 1, 14, 14, black);
  Fill(image, 3, 2, 13, 4, qRgb(0, 0, 128));
  Fill(image, 3, 5, 13, 13, qRgb(255, 255, 255));
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const int x = 4 + col * 3;
      const int y = 6 + row * 3;
      Fill(image, x, y, x + 1, y, black);
    }
  }
  return image;
}

// A desk-calendar page 24 x 22: two red digits on a white sheet inside a
// grey frame, with two rings on top.
QImage DrawAboutPicture() {
  QImage image(24, 22, QImage::Format_RGB32);
  image.fill(qRgb(192, 192, 192));
  Fill(image, 1, 2, 22, 21, qRgb(128, 128, 128));
  Fill(image, 3, 5, 20, 19, qRgb(255, 255, 255));
  Fill(image, 6, 0, 7, 4, qRgb(0, 0, 0));
  Fill(image, 16, 0, 17, 4, qRgb(0, 0, 0));
  // "1" and "2" in a 3 x 5 pixel font, doubled.
  static const char* const kDigits[2][5] = {{".#.", "##.", ".#.", ".#.", "###"},
                                            {"##.", "..#", ".#.", "#..", "###"}};
  const QRgb red = qRgb(192, 0, 0);
  for (int d = 0; d < 2; ++d) {
    for (int row = 0; row < 5; ++row) {
      for (int col = 0; col < 3; ++col) {
        if (kDigits[d][row][col] != '#') continue;
        const int x = 5 + d * 8 + col * 2;
        const int y = 7 + row * 2;
        Fill(image, x, y, x + 1, y + 1, red);
      }
    }
  }
  return image;
}

}  // namespace

QImage DrawnPicture(const std::string& name) {
  if (name == "calendar-button.bmp" || name == "calendar.ico") return DrawCalendarButton();
  if (name == "about.bmp") return DrawAboutPicture();
  return {};
}

namespace {

QImage ReadPicture(const std::string& name) {
  try {
    const std::vector<std::uint8_t> bytes = artwork::Load(name);
    QImage image;
    if (image.loadFromData(bytes.data(), static_cast<int>(bytes.size()))) {
      return image.convertToFormat(QImage::Format_ARGB32);
    }
  } catch (const std::exception&) {
    // Missing or unreadable: the drawn stand-in shows the same motif.
  }
  return DrawnPicture(name);
}

// What a picture was read from: its file as it was then. A file that is
// replaced, changed or removed, or a folder that MORLEX_ARTWORK_DIR now
// names instead, makes a different stamp and so a fresh read.
struct FileStamp {
  std::filesystem::path path;
  bool exists = false;
  std::filesystem::file_time_type written{};
  std::uintmax_t size = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& name) {
  FileStamp stamp;
  std::error_code ec;
  stamp.path = artwork::Directory() / name;
  stamp.written = std::filesystem::last_write_time(stamp.path, ec);
  stamp.exists = !ec;
  if (stamp.exists) stamp.size = std::filesystem::file_size(stamp.path, ec);
  return stamp;
}

}  // namespace

QImage ArtworkPicture(const std::string& name) {
  if (name.empty()) return {};
  // Every field's calendar button shows the same picture: decode it once and
  // share it (QImage is implicitly shared), as long as its file is unchanged.
  struct Entry {
    FileStamp stamp;
    QImage image;
  };
  static std::map<std::string, Entry> cache;
  FileStamp stamp = StampOf(name);
  const auto found = cache.find(name);
  if (found != cache.end() && found->second.stamp == stamp) return found->second.image;
  QImage image = ReadPicture(name);
  cache.insert_or_assign(name, Entry{std::move(stamp), image});
  return image;
}

QPixmap CrispPixmap(const QImage& image, qreal device_pixel_ratio) {
  if (image.isNull()) return {};
  if (!(device_pixel_ratio > 1.0)) return QPixmap::fromImage(image);
  const QSize size = (QSizeF(image.size()) * device_pixel_ratio).toSize();
  QPixmap pixmap =
      QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  pixmap.setDevicePixelRatio(device_pixel_ratio);
  return pixmap;
}

}  // namespace morlex::qt::detail
