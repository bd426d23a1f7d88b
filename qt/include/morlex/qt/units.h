#pragma once
// Conversions between the control's units and Qt's: twips and pixels, the
// control's 32-bit colour values and QColor, its font objects and QFont, its
// UTF-16 text and QString.
//
//   const double tpp = morlex::qt::TwipsPerPixel(widget);  // 15 at 96 DPI
//   widget->resize(morlex::qt::TwipsToPixels(1635, tpp), morlex::qt::TwipsToPixels(315, tpp));

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "morlex/platform/font.h"
#include "morlex/qt/export.h"

class QWidget;

namespace morlex::qt {

// Pixel coordinates are kept within this bound, whatever a length in twips
// says: a huge or non-finite length must not overflow Qt's int geometry.
inline constexpr int kMaxPixels = 1 << 22;

// Twips in one device-independent pixel at a logical DPI: 1440 / dpi, so 15
// at 96 DPI. A DPI that is not a positive finite number counts as 96.
MORLEX_QT_EXPORT double TwipsPerPixelAt(double logical_dpi);
// The same for the screen a widget is on (the primary screen for nullptr).
MORLEX_QT_EXPORT double TwipsPerPixel(const QWidget* widget);

// A length in twips as whole pixels, rounded to the nearest; NaN gives 0 and
// anything beyond kMaxPixels is clamped. Never undefined, whatever the input.
MORLEX_QT_EXPORT int TwipsToPixels(double twips, double twips_per_pixel);
// A size (never negative) in pixels.
MORLEX_QT_EXPORT int TwipsToPixelSize(double twips, double twips_per_pixel);
MORLEX_QT_EXPORT double PixelsToTwips(int pixels, double twips_per_pixel);

// The palette role that stands for a system colour index (the low byte of a
// colour value with the top bit set): 5 window background is Base, 8 window
// text is Text, 15 button face is Button, 18 button text is ButtonText, 20
// the three-dimensional highlight is Light, and so on.
MORLEX_QT_EXPORT QPalette::ColorRole SystemColorRole(int index);
// A colour value: a system colour reference resolved in palette, or an RGB
// value stored as 0x00BBGGRR.
MORLEX_QT_EXPORT QColor ColorFromValue(std::uint32_t value, const QPalette& palette);
// The RGB value 0x00BBGGRR of a colour (its alpha left out).
MORLEX_QT_EXPORT std::uint32_t ColorValue(const QColor& color);
MORLEX_QT_EXPORT bool IsSystemColor(std::uint32_t value);

// Whether a font object is the system's dialog font the designs name,
// "MS Sans Serif" at 8 points.
MORLEX_QT_EXPORT bool IsSystemFont(const platform::Font& font);
// The Qt font for a font object. A face that is not installed falls back to
// the application's default font family, at the object's size. The system's
// dialog font gives a font with nothing resolved but its styles (bold,
// italic, ...): a widget given it shows the font it inherits, its parent's
// and then the application's, and follows their changes.
MORLEX_QT_EXPORT QFont QFontFromFont(const platform::Font& font);
// The Qt font for a font object as it is, the system's dialog font included:
// its face or a stand-in of similar widths, at its size.
MORLEX_QT_EXPORT QFont StandInFont(const platform::Font& font);
MORLEX_QT_EXPORT platform::Font FontFromQFont(const QFont& font);

MORLEX_QT_EXPORT QString ToQString(std::u16string_view text);
MORLEX_QT_EXPORT std::u16string FromQString(const QString& text);

}  // namespace morlex::qt
