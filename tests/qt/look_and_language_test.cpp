// How the field and its forms read under the application's palette, locale
// and translation: text stands out from its background in the pixels drawn
// under light, dark and high-contrast palettes, the calendar names months and
// weekdays in the default locale, and a translation changes the captions but
// neither Close's access key nor the texts that hosts compare.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTranslator>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>

#include "morlex/control/morlex_date.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "morlex/qt/translation.h"
#include "morlex/qtshared/palettes.h"
#include "translation_p.h"  // the access key kept through translation

namespace morlex::qt {
namespace {

double Luminance(QRgb rgb) {
  const auto channel = [](int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

double Contrast(QRgb a, QRgb b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What a widget's pixels show inside its frame (inset pixels from each
// edge): the commonest colour as the background, and the contrast of the
// pixel that stands out most from it, which lies in the text's strokes.
struct Drawn {
  QRgb background = 0;
  double contrast = 1;
  int marked = 0;  // pixels that differ from the background
};

Drawn Measure(QWidget* widget, int inset) {
  const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect area = image.rect().adjusted(inset, inset, -inset, -inset);
  std::map<QRgb, int> counts;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y) | 0xFF000000];
  }
  Drawn drawn;
  drawn.background = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                       return a.second < b.second;
                     })->first;
  for (const auto& [colour, count] : counts) {
    if (colour == drawn.background) continue;
    drawn.marked += count;
    drawn.contrast = std::max(drawn.contrast, Contrast(colour, drawn.background));
  }
  return drawn;
}

// The dark palette with grey disabled text, as dark themes give it.
QPalette DarkPalette() {
  QPalette p = qtshared::DarkPalette();
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
  return p;
}

QPalette HighContrastPalette() {
  QPalette p(Qt::black, Qt::black);
  for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
    p.setColor(role, Qt::black);
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(role, Qt::white);
  p.setColor(QPalette::Highlight, Qt::yellow);
  p.setColor(QPalette::HighlightedText, Qt::black);
  p.setColor(QPalette::Light, Qt::white);
  return p;
}

// The application's look for one scope.
class ApplicationLook {
 public:
  ApplicationLook(const QPalette& palette) : style_(QApplication::style()->name()) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(palette);
  }
  ~ApplicationLook() {
    QApplication::setStyle(QStyleFactory::create(style_));
    QApplication::setPalette(QApplication::style()->standardPalette());
  }
  ApplicationLook(const ApplicationLook&) = delete;
  ApplicationLook& operator=(const ApplicationLook&) = delete;

 private:
  QString style_;
};

// Runs user inside the form that the action opens.
void WhileOpen(MorlexDateWidget& field, const std::function<void()>& open,
               std::function<void(platform::Form&)> user) {
  bool ran = false;
  field.toolkit().SetModalHook([&](platform::Form& form) {
    ran = true;
    user(form);
  });
  open();
  EXPECT_TRUE(ran);
}

void OpenCalendar(MorlexDateWidget& field) {
  const QRect button = AreaOf(field.control().ControlSurface().GetCommandButton("cmdCalendar"));
  QTest::mouseClick(&field, Qt::LeftButton, {}, button.center());
}

QWidget* Q(platform::Widget& widget) {
  return WidgetOf(widget);
}

TEST(LookAndLanguage, TextStandsOutUnderEveryPalette) {
  const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
  const std::pair<const char*, QPalette> palettes[] = {
      {"light", fusion->standardPalette()},
      {"dark", DarkPalette()},
      {"high contrast", HighContrastPalette()},
  };
  constexpr QRgb kWhite = 0xFFFFFFFF;
  for (const auto& [name, palette] : palettes) {
    SCOPED_TRACE(name);
    const ApplicationLook look(palette);
    QWidget form;
    auto* field = new MorlexDateWidget(&form);
    field->setText(QStringLiteral("12/31/1999"));
    // A host's white background with the system's text colour.
    auto* white = new MorlexDateWidget(&form);
    white->setBackColorValue(0x00FFFFFF);
    form.show();

    // Each text with how far in its frame lies: line edits and buttons draw
    // a frame of a few pixels around the text.
    std::vector<std::pair<std::string, Drawn>> seen;
    seen.emplace_back("field", Measure(field->focusProxy(), 3));
    seen.emplace_back("white field", Measure(white->focusProxy(), 3));
    WhileOpen(
        *field, [&] { OpenCalendar(*field); },
        [&](platform::Form& calendar) {
          // December 1999 starts on a Wednesday: cells 0 to 2 are blank, the
          // 1st is cell 3, and the 31st (cell 33) is the chosen day. The
          // month field opens with its text selected, in the palette's
          // highlight: the focus goes where no text is selected.
          MoveFocus(calendar, &calendar.GetCommandButton("cmdCancel"));
          seen.emplace_back("day", Measure(Q(calendar.GetLabel("lblDay", 10)), 0));
          seen.emplace_back("heading", Measure(Q(calendar.GetLabel("lblDayName", 0)), 0));
          seen.emplace_back("month", Measure(Q(calendar.GetTextBox("txtMonth")), 3));
          seen.emplace_back("year", Measure(Q(calendar.GetTextBox("txtYear")), 3));
          seen.emplace_back("OK", Measure(Q(calendar.GetCommandButton("cmdOK")), 5));
          seen.emplace_back("Cancel", Measure(Q(calendar.GetCommandButton("cmdCancel")), 5));
          const Drawn blank = Measure(Q(calendar.GetLabel("lblDay", 0)), 0);
          const Drawn chosen = Measure(Q(calendar.GetLabel("lblDay", 33)), 2);
          EXPECT_EQ(blank.marked, 0);
          for (const Drawn& cell : {seen[1].second, blank, chosen}) {
            EXPECT_EQ(cell.background, kWhite);
          }
          EXPECT_GE(chosen.contrast, 4.5);
        });
    WhileOpen(
        *field, [&] { field->aboutBox(); },
        [&](platform::Form& about) {
          for (const char* label : {"lblName", "lblVersionCaption", "lblVersion", "lblCopyRight"})
            seen.emplace_back(label, Measure(Q(about.GetLabel(label)), 0));
          seen.emplace_back("Close", Measure(Q(about.GetCommandButton("cmdClose")), 5));
        });
    for (const auto& [text, drawn] : seen) {
      EXPECT_GT(drawn.marked, 10) << text;  // something was drawn
      EXPECT_GE(drawn.contrast, 4.5) << text;
    }
  }
}

// The default locale for one scope; the translator too when asked.
class GermanUser {
 public:
  explicit GermanUser(bool translated) : was_(QLocale()) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (translated) translator_ = InstallTranslator();
  }
  ~GermanUser() {
    delete translator_;
    QLocale::setDefault(was_);
  }
  GermanUser(const GermanUser&) = delete;
  GermanUser& operator=(const GermanUser&) = delete;
  QTranslator* translator() const { return translator_; }

 private:
  QLocale was_;
  QTranslator* translator_ = nullptr;
};

QString TextOf(platform::Widget& widget) {
  if (auto* label = qobject_cast<QLabel*>(Q(widget))) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(Q(widget))) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(Q(widget))) return edit->text();
  return {};
}

TEST(LookAndLanguage, TheCalendarNamesMonthAndWeekdaysInTheDefaultLocale) {
  const GermanUser user(false);
  MorlexDateWidget field;
  field.setText(QStringLiteral("12/31/1999"));
  WhileOpen(
      field, [&] { OpenCalendar(field); },
      [&](platform::Form& calendar) {
        EXPECT_EQ(WidgetOf(calendar)->windowTitle(), QStringLiteral("Dezember 31, 1999"));
        // Sunday first, in the locale's short names; Qt counts Sunday as 7.
        for (int column = 0; column < 7; ++column) {
          EXPECT_EQ(TextOf(calendar.GetLabel("lblDayName", column)),
                    QLocale().standaloneDayName(column == 0 ? 7 : column, QLocale::ShortFormat));
        }
        EXPECT_NE(TextOf(calendar.GetLabel("lblDayName", 0)), QStringLiteral("Sun"));
        EXPECT_EQ(TextOf(calendar.GetTextBox("txtMonth")), QStringLiteral("December"));
      });
  EXPECT_EQ(field.text(), QStringLiteral("12/31/1999"));
}

TEST(LookAndLanguage, TheGermanTranslationKeepsCloseOnAltCAndTheHostsTexts) {
  const GermanUser user(true);
  ASSERT_NE(user.translator(), nullptr) << TranslationsDirectory().toStdString();
  MorlexDateWidget field;
  WhileOpen(
      field, [&] { field.aboutBox(); },
      [&](platform::Form& about) {
        const QString close = TextOf(about.GetCommandButton("cmdClose"));
        EXPECT_EQ(close, QStringLiteral("S&chlie\u00DFen"));
        EXPECT_EQ(QKeySequence::mnemonic(close), QKeySequence(Qt::ALT | Qt::Key_C));
        EXPECT_EQ(WidgetOf(about)->windowTitle(), QStringLiteral("\u00DCber Morlex Date Control"));
      });
  WhileOpen(
      field, [&] { OpenCalendar(field); },
      [&](platform::Form& calendar) {
        EXPECT_EQ(TextOf(calendar.GetCommandButton("cmdCancel")), QStringLiteral("Abbrechen"));
      });

  // What a screen reader says of the field is translated too.
  QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&field);
  ASSERT_NE(described, nullptr);
  EXPECT_EQ(described->text(QAccessible::Description), QStringLiteral("Datum, Monat/Tag/Jahr"));

  // What hosts compare stays as the control words it.
  QSignalSpy errors(&field, &MorlexDateWidget::dateError);
  field.setText(QStringLiteral("01/05/1999"));
  field.setNotifyChangedHandler([](const QString& key) {
    if (key == QLatin1String("Text")) throw std::runtime_error("locked");
  });
  QTest::keyClick(field.focusProxy(), Qt::Key_Return);
  ASSERT_FALSE(errors.isEmpty());
  EXPECT_EQ(errors.last().at(0).toString(), QStringLiteral("MorlexDate.ValidateAndUpdate"));
  EXPECT_EQ(errors.last().at(2).toString(), QStringLiteral("Could not update recordset."));

  // Whatever key a translator marks, the caption's own stays.
  const struct {
    const char* translation;
    const char* shown;
  } cases[] = {
      {"&Schlie\u00DFen", "S&chlie\u00DFen"},                // another key: moved to the C
      {"Schlie\u00DFen", "S&chlie\u00DFen"},                 // none
      {"Fermer", "Fermer (&C)"},                             // no C at all
      {"R&&D &Ende", "R&&D Ende (&C)"},                      // "&&" is a literal ampersand
      {"\u9589\u3058\u308B(&C)", "\u9589\u3058\u308B(&C)"},  // already right
  };
  for (const auto& c : cases) {
    EXPECT_EQ(detail::KeepAccessKey(QStringLiteral("&Close"), QString::fromUtf8(c.translation)),
              QString::fromUtf8(c.shown))
        << c.translation;
  }
}

}  // namespace
}  // namespace morlex::qt
