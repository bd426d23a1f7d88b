// Twips and pixels, colour values, fonts and text between the control and Qt.
#include <gtest/gtest.h>

#include <QApplication>
#include <cmath>
#include <limits>

#include "morlex/qt/units.h"

namespace morlex::qt {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(TwipsToPixels, RoundsToTheNearestPixelAndNeverLeavesTheRange) {
  struct Case {
    double twips, tpp;
    int pixels;
  };
  const Case cases[] = {
      {0, 15, 0},
      {15, 15, 1},
      {7.4, 15, 0},
      {7.5, 15, 1},
      {-7.5, 15, -1},
      {1635, 15, 109},
      {1335, 15, 89},
      {1060, 15, 71},
      {1635, 12, 136},
      {1635, 7.5, 218},
      {-275, 15, -18},
      {kNaN, 15, 0},
      {kInf, 15, kMaxPixels},
      {-kInf, 15, -kMaxPixels},
      {1e30, 15, kMaxPixels},
      {-1e30, 15, -kMaxPixels},
      {100, kNaN, 7},
      {100, 0, 7},
      {100, -3, 7},
      {1e30, 1e-300, kMaxPixels},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.twips) + " at " + std::to_string(c.tpp));
    EXPECT_EQ(TwipsToPixels(c.twips, c.tpp), c.pixels);
  }
  EXPECT_EQ(TwipsToPixelSize(-275, 15), 0);
  EXPECT_EQ(TwipsToPixelSize(kNaN, 15), 0);
}

TEST(TwipsPerPixel, FollowsTheLogicalDpi) {
  struct Case {
    double dpi, tpp;
  };
  for (const Case& c : {Case{96, 15}, Case{120, 12}, Case{192, 7.5}, Case{144, 10}, Case{0, 15},
                        Case{-96, 15}, Case{kNaN, 15}, Case{kInf, 15}}) {
    SCOPED_TRACE(c.dpi);
    EXPECT_DOUBLE_EQ(TwipsPerPixelAt(c.dpi), c.tpp);
  }
  EXPECT_DOUBLE_EQ(PixelsToTwips(109, 15), 1635);
}

TEST(Colors, SystemReferencesNameThemeRoles) {
  QPalette palette;
  const QColor marks[] = {QColor(1, 0, 0), QColor(2, 0, 0), QColor(3, 0, 0), QColor(4, 0, 0),
                          QColor(5, 0, 0)};
  palette.setColor(QPalette::Base, marks[0]);
  palette.setColor(QPalette::Text, marks[1]);
  palette.setColor(QPalette::Button, marks[2]);
  palette.setColor(QPalette::ButtonText, marks[3]);
  palette.setColor(QPalette::Light, marks[4]);
  struct Case {
    std::uint32_t value;
    QColor color;
  };
  const Case cases[] = {{0x80000005, marks[0]},
                        {0x80000008, marks[1]},
                        {0x8000000F, marks[2]},
                        {0x80000012, marks[3]},
                        {0x80000014, marks[4]}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_TRUE(IsSystemColor(c.value));
    EXPECT_EQ(ColorFromValue(c.value, palette), c.color);
  }
  // An index the scheme does not have falls back to the window colour.
  EXPECT_EQ(SystemColorRole(0xFF), QPalette::Window);
}

TEST(Colors, OtherValuesAreBlueGreenRed) {
  const QPalette palette;
  struct Case {
    std::uint32_t value;
    QColor color;
  };
  const Case cases[] = {{0x000000FF, QColor(255, 0, 0)},     {0x0000FF00, QColor(0, 255, 0)},
                        {0x00FF0000, QColor(0, 0, 255)},     {0x00123456, QColor(0x56, 0x34, 0x12)},
                        {0x00FFFFFF, QColor(255, 255, 255)}, {0x00000000, QColor(0, 0, 0)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_FALSE(IsSystemColor(c.value));
    EXPECT_EQ(ColorFromValue(c.value, palette), c.color);
  }
}

TEST(Fonts, AMissingFaceFallsBackAtTheAskedSize) {
  platform::Font font;
  font.name = u"No Such Face In Any Font Folder";
  font.size = 11;
  const QFont q = QFontFromFont(font);
  EXPECT_EQ(q.family(), QApplication::font().family());
  EXPECT_DOUBLE_EQ(q.pointSizeF(), 11);
}

TEST(Fonts, ValuesOutsideTheirRangeStayDefined) {
  struct Case {
    float size;
    std::int16_t weight;
    bool bold;
    double want_size;
    int want_weight;
  };
  const double app = QApplication::font().pointSizeF();
  const Case cases[] = {
      {std::numeric_limits<float>::quiet_NaN(), 400, false, app, 400},
      {-5, 400, false, app, 400},
      {0, 400, false, app, 400},
      {1e9F, 400, false, 1000, 400},
      {0.01F, 400, false, 1, 400},
      {10, 0, false, 10, 1},
      {10, 5000, false, 10, 1000},
      {10, 400, true, 10, 700},
      {10, 900, true, 10, 900},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " " + std::to_string(c.weight));
    platform::Font font;
    font.size = c.size;
    font.weight = c.weight;
    font.bold = c.bold;
    const QFont q = QFontFromFont(font);
    EXPECT_DOUBLE_EQ(q.pointSizeF(), c.want_size);
    EXPECT_EQ(q.weight(), c.want_weight);
  }
}

TEST(Fonts, AttributesSurviveTheWayThroughQt) {
  platform::Font font;
  font.name = FromQString(QApplication::font().family());
  font.size = 12.5F;
  font.weight = 700;
  font.bold = true;
  font.italic = true;
  font.underline = true;
  font.strikethrough = true;
  const platform::Font back = FontFromQFont(QFontFromFont(font));
  EXPECT_EQ(back.name, font.name);
  EXPECT_FLOAT_EQ(back.size, 12.5F);
  EXPECT_TRUE(back.bold);
  EXPECT_EQ(back.weight, 700);
  EXPECT_TRUE(back.italic);
  EXPECT_TRUE(back.underline);
  EXPECT_TRUE(back.strikethrough);
}

TEST(Text, Utf16UnitsCrossUnchanged) {
  const std::u16string cases[] = {
      u"", u"12/31/1999", std::u16string(u"a\0b", 3), u"\U0001F4C5 x", u"\xD800", u"\u00E9t\u00E9"};
  for (const auto& text : cases) {
    const QString q = ToQString(text);
    EXPECT_EQ(q.size(), static_cast<qsizetype>(text.size()));
    EXPECT_EQ(FromQString(q), text);
  }
}

}  // namespace
}  // namespace morlex::qt
