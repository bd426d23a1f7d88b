// The calendar button and the spin arrows that a field draws itself: where
// the user's mouse lands on them, what a press, a drag and a release do,
// and that hidden or disabled parts let the mouse through or ignore it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>
#include <memory>
#include <utility>

#include "morlex/control/morlex_date.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "widgets_p.h"  // the drawn arrows and button, pressed as the body does

namespace morlex::qt {
namespace {

// Sends a mouse event where the user would: to the widget under the point
// of the field (the text box under the arrows), or to the field itself.
void Mouse(MorlexDateWidget& field, QEvent::Type type, QPoint at) {
  QWidget* hit = field.childAt(at);
  if (hit == nullptr) hit = &field;
  const QPointF local(hit->mapFrom(&field, at));
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, local, hit->mapToGlobal(local), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(hit, &event);
}

class DrawnParts : public ::testing::Test {
 protected:
  void SetUp() override {
    field_ = std::make_unique<MorlexDateWidget>();
    field_->setText(QStringLiteral("03/15/1999"));
    surface_ = &field_->control().ControlSurface();
    button_ = dynamic_cast<detail::DrawnButton*>(&surface_->GetCommandButton("cmdCalendar"));
    arrows_ = dynamic_cast<detail::DrawnUpDown*>(&surface_->GetUpDown("spinCTL"));
    ASSERT_NE(button_, nullptr);
    ASSERT_NE(arrows_, nullptr);
    button_->events.Click = [this] { ++clicks_; };
  }

  QPoint Upper() const {
    const QRect a = arrows_->Area();
    return a.topLeft() + QPoint(a.width() / 2, a.height() / 4);
  }
  QLineEdit* Edit() const {
    return qobject_cast<QLineEdit*>(WidgetOf(surface_->GetTextBox("txtDate")));
  }

  std::unique_ptr<MorlexDateWidget> field_;
  platform::Surface* surface_ = nullptr;
  detail::DrawnButton* button_ = nullptr;
  detail::DrawnUpDown* arrows_ = nullptr;
  int clicks_ = 0;
};

TEST_F(DrawnParts, TheButtonClicksOnlyWhenReleasedOverIt) {
  const QRect area = button_->Area();
  ASSERT_FALSE(area.isEmpty());
  const QPoint away = area.bottomRight() + QPoint(40, 40);
  struct Case {
    const char* what;
    std::vector<std::pair<QEvent::Type, QPoint>> events;
    int clicks;
  };
  const Case cases[] = {
      {"press and release on it",
       {{QEvent::MouseButtonPress, area.center()}, {QEvent::MouseButtonRelease, area.center()}},
       1},
      {"dragged off before the release",
       {{QEvent::MouseButtonPress, area.center()},
        {QEvent::MouseMove, away},
        {QEvent::MouseButtonRelease, away}},
       0},
      {"dragged off and back",
       {{QEvent::MouseButtonPress, area.center()},
        {QEvent::MouseMove, away},
        {QEvent::MouseMove, area.center()},
        {QEvent::MouseButtonRelease, area.center()}},
       1},
      {"a release without a press", {{QEvent::MouseButtonRelease, area.center()}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    clicks_ = 0;
    for (const auto& [type, at] : c.events) {
      // Moves and the release go to the widget that took the press, as Qt
      // delivers them while the button is held.
      QWidget* hit = type == QEvent::MouseButtonPress ? field_->childAt(at) : nullptr;
      if (hit == nullptr) hit = field_.get();
      const QPointF local(hit->mapFrom(field_.get(), at));
      QMouseEvent event(type, local, hit->mapToGlobal(local), Qt::LeftButton,
                        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                        Qt::NoModifier);
      QApplication::sendEvent(hit, &event);
    }
    EXPECT_EQ(clicks_, c.clicks);
    EXPECT_FALSE(button_->Sunken());
  }
}

TEST_F(DrawnParts, TheButtonLooksSunkenWhileHeldOverIt) {
  const QRect area = button_->Area();
  const QImage rest = field_->grab(area).toImage();
  Mouse(*field_, QEvent::MouseButtonPress, area.center());
  EXPECT_TRUE(button_->Sunken());
  EXPECT_NE(field_->grab(area).toImage(), rest);
  Mouse(*field_, QEvent::MouseMove, area.bottomRight() + QPoint(40, 40));
  EXPECT_FALSE(button_->Sunken());
  EXPECT_EQ(field_->grab(area).toImage(), rest);
  Mouse(*field_, QEvent::MouseButtonRelease, area.bottomRight() + QPoint(40, 40));
  EXPECT_EQ(clicks_, 0);
}

TEST_F(DrawnParts, TheButtonKnowsWhenTheMouseIsOverIt) {
  const QRect area = button_->Area();
  const auto hover = [&](QEvent::Type type, QPoint at) {
    QHoverEvent event(type, QPointF(at), QPointF(at), QPointF(-1, -1));
    QApplication::sendEvent(field_.get(), &event);
  };
  struct Step {
    QEvent::Type type;
    QPoint at;
    bool over;
  };
  const Step steps[] = {
      {QEvent::HoverEnter, area.center(), true},
      {QEvent::HoverMove, area.topLeft() + QPoint(1, 1), true},
      {QEvent::HoverMove, area.bottomRight() + QPoint(5, 5), false},
      {QEvent::HoverMove, area.center(), true},
      {QEvent::HoverLeave, area.center(), false},
  };
  for (const Step& step : steps) {
    hover(step.type, step.at);
    EXPECT_EQ(button_->Hovered(), step.over) << step.type << " at " << step.at.x();
  }
}

TEST_F(DrawnParts, NothingIsDrawnOutsideAPartAtAnyRatio) {
  // A style's edge lines may reach half a pixel past their rectangle; at a
  // ratio of 2 that is a device pixel of the text box's frame.
  const auto render = [&](qreal ratio) {
    QPixmap picture(field_->size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    field_->render(&picture);
    return picture.toImage();
  };
  struct Case {
    const char* what;
    platform::Widget* part;
    QRect area;
  };
  const Case cases[] = {{"arrows", arrows_, arrows_->Area()}, {"button", button_, button_->Area()}};
  for (const qreal ratio : {1.0, 2.0}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << " at ratio " << ratio);
      const QImage shown = render(ratio);
      c.part->SetVisible(false);
      const QImage hidden = render(ratio);
      c.part->SetVisible(true);
      const QRect inside(c.area.topLeft() * ratio, c.area.size() * ratio);
      int outside_changed = 0;
      for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
          if (!inside.contains(x, y) && shown.pixel(x, y) != hidden.pixel(x, y)) ++outside_changed;
        }
      }
      EXPECT_EQ(outside_changed, 0);
      EXPECT_NE(shown, hidden);  // the part itself was drawn
    }
  }
}

TEST_F(DrawnParts, HiddenOrDisabledPartsTakeNoClick) {
  struct Case {
    const char* what;
    bool calendar;      // the Calendar property
    bool enabled;       // the field's own Enabled
    bool part_enabled;  // the button's
    int clicks;
  };
  const Case cases[] = {
      {"shown and enabled", true, true, true, 1},
      {"Calendar off", false, true, true, 0},
      {"field disabled", true, false, true, 0},
      {"button disabled", true, true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    field_->setCalendar(true);
    field_->setEnabled(true);
    button_->SetEnabled(true);
    const QRect area = button_->Area();
    field_->setCalendar(c.calendar);
    field_->setEnabled(c.enabled);
    button_->SetEnabled(c.part_enabled);
    clicks_ = 0;
    Mouse(*field_, QEvent::MouseButtonPress, area.center());
    Mouse(*field_, QEvent::MouseButtonRelease, area.center());
    EXPECT_EQ(clicks_, c.clicks);
  }
}

TEST_F(DrawnParts, ArrowsOverTheTextBoxTakeItsPressesOnlyWhileShown) {
  const QPoint upper = Upper();
  ASSERT_EQ(field_->childAt(upper), Edit());  // the arrows lie over the text box
  int steps = 0;
  arrows_->events.Change = [&] {
    if (arrows_->Value() != 0) ++steps;
    if (arrows_->Value() != 0) arrows_->SetValue(0);
  };
  Edit()->setCursorPosition(0);
  Mouse(*field_, QEvent::MouseButtonPress, upper);
  Mouse(*field_, QEvent::MouseButtonRelease, upper);
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(Edit()->cursorPosition(), 0);  // the text box never saw the press

  // A double-click is a second press, as on a spin box.
  Mouse(*field_, QEvent::MouseButtonPress, upper);
  Mouse(*field_, QEvent::MouseButtonRelease, upper);
  Mouse(*field_, QEvent::MouseButtonDblClick, upper);
  Mouse(*field_, QEvent::MouseButtonRelease, upper);
  EXPECT_EQ(steps, 3);

  // Hidden, the arrows leave the point to the text box.
  field_->setSpin(false);
  Mouse(*field_, QEvent::MouseButtonPress, upper);
  Mouse(*field_, QEvent::MouseButtonRelease, upper);
  EXPECT_EQ(steps, 3);
  EXPECT_GT(Edit()->cursorPosition(), 0);
}

TEST_F(DrawnParts, ArrowsHiddenWhileHeldStepNoFurther) {
  int steps = 0;
  arrows_->events.Change = [&] {
    if (arrows_->Value() != 0) ++steps;
    if (arrows_->Value() != 0) arrows_->SetValue(0);
  };
  Mouse(*field_, QEvent::MouseButtonPress, Upper());
  EXPECT_EQ(steps, 1);
  arrows_->SetVisible(false);
  QTest::qWait(600);  // past the first repeat
  EXPECT_EQ(steps, 1);
  Mouse(*field_, QEvent::MouseButtonRelease, Upper());
  EXPECT_EQ(arrows_->Pressed(), 0);
}

TEST_F(DrawnParts, AFieldGoingWhileAnArrowIsHeldLeavesNothingBehind) {
  int steps = 0;
  arrows_->events.Change = [&] {
    ++steps;
    arrows_->SetValue(0);
  };
  Mouse(*field_, QEvent::MouseButtonPress, Upper());
  EXPECT_EQ(arrows_->Pressed(), 1);
  field_.reset();  // the repeat timer and the held part go with the field
  QApplication::processEvents();
  EXPECT_GE(steps, 1);
}

TEST_F(DrawnParts, RightToLeftMirrorsTheFieldAndLeftToRightComesBack) {
  field_->show();  // a hidden widget hears of a resize only when shown
  const QRect button = button_->Area();
  const QRect arrows = arrows_->Area();
  const QRect text = Edit()->geometry();
  const int width = field_->width();
  field_->setLayoutDirection(Qt::RightToLeft);
  // Every place mirrored within the field: the button and the arrows on
  // the left, the text box from the right.
  for (const auto& [was, now] :
       {std::pair{button, button_->Area()}, std::pair{arrows, arrows_->Area()},
        std::pair{text, Edit()->geometry()}}) {
    EXPECT_EQ(now, QRect(width - was.left() - was.width(), was.top(), was.width(), was.height()));
  }
  EXPECT_LT(button_->Area().center().x(), Edit()->geometry().center().x());
  // A wider field keeps them at its left edge.
  const int from_left = button_->Area().left();
  field_->resize(width + 40, field_->height());
  EXPECT_NEAR(button_->Area().left(), from_left, 1);
  EXPECT_NEAR(Edit()->geometry().right(), width + 40 - text.left() - 1, 1);
  field_->resize(width, field_->height());

  // The mirrored arrows take their presses as before.
  int steps = 0;
  arrows_->events.Change = [&] {
    if (arrows_->Value() != 0) ++steps;
    if (arrows_->Value() != 0) arrows_->SetValue(0);
  };
  Mouse(*field_, QEvent::MouseButtonPress, Upper());
  Mouse(*field_, QEvent::MouseButtonRelease, Upper());
  EXPECT_EQ(steps, 1);

  field_->setLayoutDirection(Qt::LeftToRight);
  EXPECT_EQ(button_->Area(), button);
  EXPECT_EQ(arrows_->Area(), arrows);
  EXPECT_EQ(Edit()->geometry(), text);
}

}  // namespace
}  // namespace morlex::qt
