// The pictures of the surfaces: every file is written, at the asked device
// pixel ratio, and shows what its name says.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "morlex/host/qt_binding.h"

namespace morlex::qt {
namespace {

bool HasColor(const QImage& image, QRgb color) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) return true;
    }
  }
  return false;
}

TEST(Snapshots, EveryPictureAtEachDevicePixelRatio) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QSize single;
  for (const double ratio : {1.0, 2.0}) {
    SCOPED_TRACE(ratio);
    const std::filesystem::path dir = std::filesystem::path(folder.path().toStdString()) /
                                      std::to_string(static_cast<int>(ratio));
    const auto files = WriteSnapshots(dir, ratio);
    EXPECT_EQ(files.size(), 34U);
    for (const auto& file : files) EXPECT_TRUE(std::filesystem::exists(file)) << file;

    const QImage with =
        QImage(QString::fromStdString((dir / "field-mm-dd-yyyy-calendar-spin.png").string()));
    const QImage plain =
        QImage(QString::fromStdString((dir / "field-mm-dd-yyyy-plain.png").string()));
    ASSERT_FALSE(with.isNull());
    if (ratio == 1.0) single = with.size();
    if (ratio == 2.0) {
      EXPECT_EQ(with.size(), single * 2);
    }
    EXPECT_TRUE(HasColor(with, qRgb(0, 0, 128))) << "the calendar button's navy band";
    EXPECT_FALSE(HasColor(plain, qRgb(0, 0, 128)));
    EXPECT_FALSE(QImage(QString::fromStdString((dir / "calendar.png").string())).isNull());
    EXPECT_FALSE(QImage(QString::fromStdString((dir / "about.png").string())).isNull());
  }
}

}  // namespace
}  // namespace morlex::qt
