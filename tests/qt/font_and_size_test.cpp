// The field's font and size in a Qt form: the system's dialog font the
// designs name shows as the inherited Qt font while the control keeps it, a
// layout squeezing the field to its minimum never cuts a full date, and the
// calendar and the about box grow with the application's font.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTranslator>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "morlex/control/morlex_date.h"
#include "morlex/platform/variant.h"
#include "morlex/platform/widgets.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "morlex/qt/translation.h"
#include "morlex/qt/units.h"

namespace morlex::qt {
namespace {

QLineEdit* Edit(MorlexDateWidget& field) {
  return qobject_cast<QLineEdit*>(WidgetOf(field.control().ControlSurface().GetTextBox("txtDate")));
}

// Keeps what differs from its default, as a stored design does.
class Bag final : public platform::PropertyBag {
 public:
  platform::Variant ReadProperty(std::string_view key, const platform::Variant& fallback) override {
    const auto it = values.find(std::string(key));
    return it == values.end() ? fallback : it->second;
  }
  void WriteProperty(std::string_view key, const platform::Variant& value,
                     const platform::Variant& fallback) override {
    const bool same_font = std::holds_alternative<platform::FontRef>(value) &&
                           std::holds_alternative<platform::FontRef>(fallback) &&
                           *platform::ToFont(value) == *platform::ToFont(fallback);
    if (value != fallback && !same_font) values[std::string(key)] = value;
  }
  std::map<std::string, platform::Variant> values;
};

platform::Font Font(const MorlexDateWidget& field) {
  return *field.control().Font();
}

TEST(FontAndSize, TheSystemFontShowsTheInheritedFontAndIsKept) {
  QWidget form;
  QFont nine = form.font();
  nine.setPointSizeF(9);
  form.setFont(nine);
  auto* field = new MorlexDateWidget(&form);
  EXPECT_EQ(Edit(*field)->font(), form.font());
  EXPECT_EQ(Font(*field), platform::Font{});

  QFont larger = nine;
  larger.setPointSizeF(17);
  form.setFont(larger);
  EXPECT_EQ(Edit(*field)->font(), larger);
  EXPECT_EQ(field->textFont().pointSizeF(), 17);
  EXPECT_EQ(Font(*field), platform::Font{});

  // Saved as loaded: nothing for a new field, the same font for a stored one.
  Bag saved;
  field->writeProperties(saved);
  EXPECT_FALSE(saved.values.contains("Font"));
  platform::Font bold;
  bold.bold = true;
  bold.weight = 700;
  Bag stored;
  stored.values["Font"] = std::make_shared<platform::Font>(bold);
  field->readProperties(stored);
  EXPECT_EQ(Edit(*field)->font().pointSizeF(), 17);
  EXPECT_TRUE(Edit(*field)->font().bold());
  Bag again;
  field->writeProperties(again);
  ASSERT_TRUE(again.values.contains("Font"));
  EXPECT_EQ(*platform::ToFont(again.values["Font"]), bold);

  // Another size, whether from a bag or set by the program, is shown as it is.
  platform::Font other;
  other.size = 12;
  stored.values["Font"] = std::make_shared<platform::Font>(other);
  field->readProperties(stored);
  EXPECT_EQ(Edit(*field)->font().pointSizeF(), 12);
  QFont set = nine;
  set.setPointSizeF(11);
  field->setTextFont(set);
  form.setFont(nine);
  EXPECT_EQ(Edit(*field)->font().pointSizeF(), 11);
  EXPECT_EQ(Font(*field).size, 11);
  // A font naming no face or size is the inherited one again.
  field->setTextFont(QFont());
  EXPECT_EQ(Font(*field), platform::Font{});
  EXPECT_EQ(Edit(*field)->font(), nine);
}

TEST(FontAndSize, ALayoutAtTheMinimumNeverCutsAFullDate) {
  for (const double points : {9.0, 14.0, 18.0}) {
    SCOPED_TRACE(points);
    QWidget form;
    QFont font = form.font();
    font.setPointSizeF(points);
    form.setFont(font);
    auto* layout = new QHBoxLayout(&form);
    layout->addWidget(new QLineEdit(&form));
    auto* field = new MorlexDateWidget(&form);
    layout->addWidget(field);
    field->setText(QStringLiteral("12/31/9999"));
    form.resize(1, 1);  // held at the layout's minimum
    form.show();
    layout->activate();
    QApplication::processEvents();

    EXPECT_EQ(field->size(), field->minimumSizeHint());
    EXPECT_GE(field->sizeHint().width(), field->minimumSizeHint().width());
    const QLineEdit* edit = Edit(*field);
    const QFontMetrics metrics(edit->font());
    // The text runs from the margins to where the spin arrows begin.
    const platform::UpDown& spin = field->control().ControlSurface().GetUpDown("spinCTL");
    const int spin_left = TwipsToPixels(spin.Left(), TwipsPerPixel(field));
    const int text_left = edit->x() + edit->textMargins().left() + 2;
    EXPECT_LE(text_left + metrics.horizontalAdvance(edit->text()) + 1, spin_left);
    EXPECT_LE(edit->geometry().right(), field->width());
    EXPECT_GE(edit->height(),
              metrics.height() + edit->textMargins().top() + edit->textMargins().bottom());
    // As high as the line edit beside it, give or take the field's inset.
    EXPECT_GE(field->height(), layout->itemAt(0)->widget()->sizeHint().height() - 2);
  }
}

// Runs run at an application font size, in a language and direction, and
// puts back the application's own after it.
void WithApplication(double points, bool german, Qt::LayoutDirection direction,
                     const std::function<void()>& run) {
  const QFont font = QApplication::font();
  const QLocale locale;
  const Qt::LayoutDirection was = QGuiApplication::layoutDirection();
  QFont larger = font;
  larger.setPointSizeF(points);
  QApplication::setFont(larger);
  QGuiApplication::setLayoutDirection(direction);
  std::unique_ptr<QTranslator> translator;
  if (german) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    translator.reset(InstallTranslator());
  }
  run();
  translator.reset();
  QLocale::setDefault(locale);
  QGuiApplication::setLayoutDirection(was);
  QApplication::setFont(font);
}

// Every text of a form is whole: a label's within its contents and over no
// other widget, a button's with the style's padding, a line edit's within
// its margins, each widget inside the window; the day cells share the
// application's font.
void ExpectWhole(QWidget& window, double points) {
  std::set<double> day_sizes;
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&window)) continue;
    const std::string name = w->objectName().toStdString();
    if (w->parentWidget() == &window) {
      EXPECT_TRUE(window.rect().contains(w->geometry())) << name;
    }
    const QFontMetrics metrics(w->font());
    if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && !label->text().isEmpty()) {
      EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width()) << name;
      EXPECT_LE(metrics.height(), label->contentsRect().height()) << name;
      EXPECT_FALSE(label->text().endsWith(QChar(0x2026))) << name;
      for (QWidget* other :
           label->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (other == label || !other->isVisibleTo(&window)) continue;
        EXPECT_FALSE(label->geometry().intersects(other->geometry()))
            << name << " over " << other->objectName().toStdString();
      }
      if (name.starts_with("lblDay_")) day_sizes.insert(label->font().pointSizeF());
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      QStyleOptionButton option;
      option.initFrom(button);
      const QSize text = metrics.size(Qt::TextShowMnemonic, button->text());
      const QSize needed =
          button->style()->sizeFromContents(QStyle::CT_PushButton, &option, text, button);
      EXPECT_LE(needed.width(), button->width()) << name;
      EXPECT_LE(needed.height(), button->height()) << name;
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      const QRect text = edit->rect().marginsRemoved(edit->textMargins()).adjusted(2, 1, -2, -1);
      EXPECT_LE(metrics.horizontalAdvance(edit->text()), text.width()) << name;
      EXPECT_LE(metrics.height(), text.height()) << name;
    }
  }
  if (!day_sizes.empty()) {
    EXPECT_EQ(day_sizes.size(), 1U);
    EXPECT_EQ(*day_sizes.begin(), points);
  }
}

TEST(FontAndSize, TheFormsShowEveryTextWholeAtEachFont) {
  const struct {
    double points;
    bool german;
    Qt::LayoutDirection direction;
  } cases[] = {
      {9, false, Qt::LeftToRight}, {14, false, Qt::LeftToRight}, {20, false, Qt::LeftToRight},
      {9, true, Qt::LeftToRight},  {20, true, Qt::LeftToRight},  {20, false, Qt::RightToLeft},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.points << " pt" << (c.german ? ", German" : "")
                                    << (c.direction == Qt::RightToLeft ? ", right to left" : ""));
    WithApplication(c.points, c.german, c.direction, [&] {
      MorlexDateWidget field;
      field.setText(QStringLiteral("12/31/1999"));
      int shown = 0;
      const auto check = [&](platform::Form& form) {
        ++shown;
        ExpectWhole(*WidgetOf(form), c.points);
        if (c.direction != Qt::RightToLeft || form.Caption().starts_with(u"About")) return;
        // Mirrored: the month right of the year, Cancel left of OK, Sunday
        // the rightmost column.
        const auto x = [&](platform::Widget& w) { return WidgetOf(w)->x(); };
        EXPECT_GT(x(form.GetTextBox("txtMonth")), x(form.GetTextBox("txtYear")));
        EXPECT_LT(x(form.GetCommandButton("cmdCancel")), x(form.GetCommandButton("cmdOK")));
        EXPECT_GT(x(form.GetLabel("lblDayName", 0)), x(form.GetLabel("lblDayName", 6)));
      };
      const QRect button = AreaOf(field.control().ControlSurface().GetCommandButton("cmdCalendar"));
      field.toolkit().SetModalHook(check);
      QTest::mouseClick(&field, Qt::LeftButton, {}, button.center());
      field.toolkit().SetModalHook(check);
      field.aboutBox();
      EXPECT_EQ(shown, 2);
    });
  }
}

}  // namespace
}  // namespace morlex::qt
