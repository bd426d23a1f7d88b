// The field's font and size in a Qt form: the system's dialog font the
// designs name shows as the inherited Qt font while the control keeps it, and
// a layout squeezing the field to its minimum never cuts a full date.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <map>

#include "morlex/control/morlex_date.h"
#include "morlex/platform/variant.h"
#include "morlex/platform/widgets.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
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

}  // namespace
}  // namespace morlex::qt
