// The artwork files: sizes, depths and palettes as hosts expect them, and the
// loader that finds them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "morlex/artwork/artwork.h"
#include "morlex/core/error.h"

namespace {

namespace fs = std::filesystem;
namespace artwork = morlex::artwork;

TEST(Artwork, BitmapsHaveTheirSizesDepthsAndPalettes) {
  struct Case {
    std::string_view file;
    int width, height, bits, colours;
    std::size_t bytes;  // 0: not fixed
  };
  for (const Case& c : {Case{artwork::kCalendarButton, 17, 16, 4, 16, 310},
                        Case{artwork::kAboutPicture, 24, 22, 4, 16, 382},
                        Case{artwork::kToolboxPicture, 16, 15, 8, 20, 0}}) {
    SCOPED_TRACE(c.file);
    const auto bytes = artwork::Load(c.file);
    const auto info = artwork::InspectBitmap(bytes);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->width, c.width);
    EXPECT_EQ(info->height, c.height);
    EXPECT_EQ(info->bits_per_pixel, c.bits);
    EXPECT_EQ(info->palette_colours, c.colours);
    if (c.bytes != 0) {
      EXPECT_EQ(bytes.size(), c.bytes);
    }
  }
}

TEST(Artwork, ThePicturesUseTheStandardPalette) {
  // Blue, green, red, reserved: black, maroon, ... silver (7), ... white (15).
  const auto bytes = artwork::Load(artwork::kCalendarButton);
  ASSERT_GE(bytes.size(), 54U + 64U);
  auto colour = [&](int i) {
    const std::size_t at = 54 + 4 * static_cast<std::size_t>(i);
    return std::array<int, 3>{bytes[at + 2], bytes[at + 1], bytes[at]};
  };
  EXPECT_EQ(colour(0), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(colour(4), (std::array<int, 3>{0, 0, 128}));      // navy
  EXPECT_EQ(colour(7), (std::array<int, 3>{192, 192, 192}));  // silver, the button face
  EXPECT_EQ(colour(15), (std::array<int, 3>{255, 255, 255}));
  // The bottom-left pixel (first in the file) is the silver background.
  EXPECT_EQ(bytes[118] >> 4, 7);
}

TEST(Artwork, TheIconHoldsTwoSixteenColourImages) {
  const auto bytes = artwork::Load(artwork::kCalendarIcon);
  EXPECT_EQ(bytes.size(), 1078U);
  const auto images = artwork::InspectIcon(bytes);
  ASSERT_TRUE(images.has_value());
  ASSERT_EQ(images->size(), 2U);
  EXPECT_EQ((*images)[0].width, 32);
  EXPECT_EQ((*images)[0].height, 32);
  EXPECT_EQ((*images)[0].bytes, 744U);
  EXPECT_EQ((*images)[1].width, 16);
  EXPECT_EQ((*images)[1].height, 16);
  EXPECT_EQ((*images)[1].bytes, 296U);
  for (const auto& img : *images) {
    EXPECT_EQ(img.colours, 16);
    EXPECT_EQ(img.bits_per_pixel, 4);
  }
}

TEST(Artwork, DamagedHeadersAreRecognised) {
  const auto good = artwork::Load(artwork::kCalendarButton);
  ASSERT_TRUE(artwork::InspectBitmap(good).has_value());
  struct Damage {
    const char* what;
    std::size_t at;
    std::uint8_t value;
  };
  for (const Damage& d :
       {Damage{"signature", 0, 'X'}, Damage{"file size", 2, 0x37}, Damage{"header size", 14, 12},
        Damage{"width", 18, 200}, Damage{"planes", 26, 2}, Damage{"depth", 28, 24},
        Damage{"compression", 30, 2}, Damage{"palette", 46, 200},
        Damage{"pixel offset", 10, 0x10}}) {
    SCOPED_TRACE(d.what);
    auto bad = good;
    bad[d.at] = d.value;
    EXPECT_FALSE(artwork::InspectBitmap(bad).has_value());
  }
  auto cut = good;
  cut.pop_back();
  EXPECT_FALSE(artwork::InspectBitmap(cut).has_value());
  EXPECT_FALSE(artwork::InspectBitmap({}).has_value());

  const auto icon = artwork::Load(artwork::kCalendarIcon);
  auto bad_icon = icon;
  bad_icon[6 + 12] = 0xFF;  // first image's offset beyond the file
  bad_icon[6 + 13] = 0xFF;
  EXPECT_FALSE(artwork::InspectIcon(bad_icon).has_value());
  EXPECT_FALSE(artwork::InspectIcon(good).has_value());  // a bitmap is no icon
}

TEST(Artwork, NamesMustBePlainFileNames) {
  for (const char* name : {"", ".", "..", "../CMakeLists.txt", "/etc/passwd", "a/b.bmp"}) {
    SCOPED_TRACE(name);
    try {
      artwork::Load(name);
      FAIL() << "accepted";
    } catch (const morlex::Error& e) {
      EXPECT_EQ(e.number(), 5);
    }
  }
  try {
    artwork::Load("no-such-picture.bmp");
    FAIL() << "found";
  } catch (const morlex::Error& e) {
    EXPECT_EQ(e.number(), 53);
  }
}

TEST(Artwork, TheEnvironmentPointsElsewhere) {
  const fs::path dir =
      fs::path(testing::TempDir()) / ("morlex-artwork-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  { std::ofstream(dir / "calendar-button.bmp") << "xyz"; }
  ::setenv("MORLEX_ARTWORK_DIR", dir.c_str(), 1);
  EXPECT_EQ(artwork::Directory(), dir);
  EXPECT_EQ(artwork::Load(artwork::kCalendarButton).size(), 3U);
  ::setenv("MORLEX_ARTWORK_DIR", "", 1);  // empty: as if not set
  EXPECT_NE(artwork::Directory(), dir);
  EXPECT_EQ(artwork::Load(artwork::kCalendarButton).size(), 310U);
  ::unsetenv("MORLEX_ARTWORK_DIR");
  fs::remove_all(dir);
}

TEST(Artwork, TheGeneratorAndTheFilesAreCheckedInTogether) {
  const char* source = std::getenv("MORLEX_SOURCE_DIR");
  if (source == nullptr) GTEST_SKIP() << "MORLEX_SOURCE_DIR not set";
  EXPECT_TRUE(fs::exists(fs::path(source) / "tools" / "make_artwork.py"));
  for (auto name : {artwork::kCalendarButton, artwork::kAboutPicture, artwork::kToolboxPicture,
                    artwork::kCalendarIcon}) {
    EXPECT_TRUE(fs::exists(fs::path(source) / "artwork" / "pictures" / name)) << name;
  }
}

}  // namespace
