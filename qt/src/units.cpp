#include "morlex/qt/units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

namespace morlex::qt {

double TwipsPerPixelAt(double logical_dpi) {
  if (!std::isfinite(logical_dpi) || logical_dpi <= 0) logical_dpi = 96.0;
  return 1440.0 / logical_dpi;
}

double TwipsPerPixel(const QWidget* widget) {
  if (widget != nullptr) return TwipsPerPixelAt(widget->logicalDpiX());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    return TwipsPerPixelAt(screen->logicalDotsPerInchX());
  }
  return 15.0;
}

int TwipsToPixels(double twips, double twips_per_pixel) {
  if (!std::isfinite(twips_per_pixel) || twips_per_pixel <= 0) twips_per_pixel = 15.0;
  const double pixels = twips / twips_per_pixel;
  if (std::isnan(pixels)) return 0;
  // Clamp before converting: a double outside int's range has no defined
  // conversion.
  const double clamped =
      std::clamp(pixels, -static_cast<double>(kMaxPixels), static_cast<double>(kMaxPixels));
  return static_cast<int>(std::lround(clamped));
}

int TwipsToPixelSize(double twips, double twips_per_pixel) {
  return std::max(0, TwipsToPixels(twips, twips_per_pixel));
}

double PixelsToTwips(int pixels, double twips_per_pixel) {
  if (!std::isfinite(twips_per_pixel) || twips_per_pixel <= 0) twips_per_pixel = 15.0;
  return pixels * twips_per_pixel;
}

bool IsSystemColor(std::uint32_t value) {
  return (value & 0x80000000U) != 0;
}

QPalette::ColorRole SystemColorRole(int index) {
  // By the system colour's index: 2 active caption, 5 window background,
  // 6 window frame, 7 menu text, 8 window text, 9 caption text, 12
  // application workspace, 13 and 14 highlight and its text, 15 button face,
  // 16 button shadow, 17 grey text, 18 button text, 20 to 22 the
  // three-dimensional highlight, dark shadow and light, 23 and 24 info text
  // and background; the rest (desktop, menus, dialog faces) the window's.
  using P = QPalette;
  // clang-format off
  static constexpr P::ColorRole kRoles[] = {
      P::Window, P::Window, P::Highlight, P::Window, P::Window,  // 0 to 4
      P::Base, P::Shadow, P::WindowText, P::Text, P::HighlightedText,  // 5 to 9
      P::Window, P::Window, P::Dark, P::Highlight, P::HighlightedText,  // 10 to 14
      P::Button, P::Mid, P::PlaceholderText, P::ButtonText, P::Window,  // 15 to 19
      P::Light, P::Shadow, P::Midlight, P::ToolTipText, P::ToolTipBase,  // 20 to 24
  };
  // clang-format on
  return index >= 0 && index < static_cast<int>(std::size(kRoles)) ? kRoles[index] : P::Window;
}

QColor ColorFromValue(std::uint32_t value, const QPalette& palette) {
  if (IsSystemColor(value)) return palette.color(SystemColorRole(static_cast<int>(value & 0xFF)));
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t ColorValue(const QColor& color) {
  const QRgb rgb = color.rgb();
  return static_cast<std::uint32_t>(qRed(rgb)) | (static_cast<std::uint32_t>(qGreen(rgb)) << 8) |
         (static_cast<std::uint32_t>(qBlue(rgb)) << 16);
}

namespace {

// The installed font families. Listing them costs about as much as making a
// text box, and every widget's font asks: the list is kept until the font
// database says it changed (an application font added or removed, the
// system's fonts changed), or another application object runs. Each new
// reading counts one more generation.
int families_generation = 0;

const QStringList& InstalledFamilies() {
  static QStringList families;
  static QPointer<QGuiApplication> watched;
  static bool valid = false;
  if (qGuiApp == nullptr) {
    families = QFontDatabase::families();
    ++families_generation;
    return families;
  }
  if (watched != qGuiApp) {
    watched = qGuiApp;
    valid = false;
    QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, qGuiApp,
                     [] { valid = false; });
  }
  if (!valid) {
    families = QFontDatabase::families();
    ++families_generation;
    valid = true;
  }
  return families;
}

}  // namespace

bool IsSystemFont(const platform::Font& font) {
  // Stored designs may carry the size as the system gave it (8.25).
  return ToQString(font.name).compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0 &&
         std::abs(font.size - 8.0F) < 0.3F;
}

QFont QFontFromFont(const platform::Font& font) {
  if (IsSystemFont(font)) {
    // The system's dialog font of the platform the designs were drawn on
    // stands for the font a widget inherits here: nothing but the styles
    // that differ from the plain face is set, so a widget shown in it looks
    // like the others beside it and follows its parent's and the
    // application's font as they change.
    QFont inherited;  // nothing resolved
    int weight = std::clamp<int>(font.weight, 1, 1000);
    if (font.bold && weight < 700) weight = 700;
    if (weight != 400) inherited.setWeight(static_cast<QFont::Weight>(weight));
    if (font.italic) inherited.setItalic(true);
    if (font.underline) inherited.setUnderline(true);
    if (font.strikethrough) inherited.setStrikeOut(true);
    return inherited;
  }
  return StandInFont(font);
}

QFont StandInFont(const platform::Font& font) {
  // Every field asks for the same font: the last answer is given again,
  // sharing its data, while the application's font and the installed
  // families are those it was made from.
  static std::optional<platform::Font> last_font;
  static QFont last_made;
  static QFont last_application;
  static int last_generation = -1;
  const QStringList& installed = InstalledFamilies();
  QFont q = QApplication::font();
  if (last_font && *last_font == font && last_generation == families_generation &&
      last_application == q && last_application.resolveMask() == q.resolveMask()) {
    return last_made;
  }
  QStringList wanted{ToQString(font.name)};
  // The forms were laid out for "MS Sans Serif"; where it is missing, a face
  // of similar widths serves better than the desktop's default.
  if (wanted.front().compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0) {
    wanted << QStringLiteral("Microsoft Sans Serif") << QStringLiteral("Tahoma")
           << QStringLiteral("Liberation Sans") << QStringLiteral("Arial");
  }
  for (const QString& face : wanted) {
    if (!face.isEmpty() && installed.contains(face, Qt::CaseInsensitive)) {
      q.setFamily(face);
      break;
    }
  }
  // Sizes outside what a text box can show are kept to a sane range; a NaN
  // or non-positive size keeps the application's size.
  if (std::isfinite(font.size) && font.size > 0) {
    q.setPointSizeF(std::clamp(static_cast<double>(font.size), 1.0, 1000.0));
  }
  int weight = std::clamp<int>(font.weight, 1, 1000);
  if (font.bold && weight < 700) weight = 700;
  q.setWeight(static_cast<QFont::Weight>(weight));
  q.setItalic(font.italic);
  q.setUnderline(font.underline);
  q.setStrikeOut(font.strikethrough);
  last_font = font;
  last_made = q;
  last_application = QApplication::font();
  last_generation = families_generation;
  return q;
}

platform::Font FontFromQFont(const QFont& q) {
  platform::Font f;
  f.name = FromQString(q.family());
  const double points = q.pointSizeF() > 0 ? q.pointSizeF() : QFontInfo(q).pointSizeF();
  f.size = static_cast<float>(points);
  f.weight = static_cast<std::int16_t>(std::clamp<int>(q.weight(), 1, 1000));
  f.bold = q.weight() >= QFont::Bold;
  f.italic = q.italic();
  f.underline = q.underline();
  f.strikethrough = q.strikeOut();
  return f;
}

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

}  // namespace morlex::qt
