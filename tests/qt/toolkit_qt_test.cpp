// What the Qt toolkit does in Qt's own terms: pixels at the logical DPI,
// stacking and focus policies, keys that are not characters, double-clicks,
// the dialog keys, the arrows' repeat, and the pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "morlex/control/about_form.h"
#include "morlex/designs/form_designs.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/toolkit.h"
#include "morlex/qt/units.h"
#include "widgets_p.h"  // the surface, the drawn parts and the kept pictures inside

namespace morlex::qt {
namespace {

class QtToolkit : public ::testing::Test {
 protected:
  void SetUp() override {
    surface_ = toolkit_.CreateControlSurface(designs::ControlSurface());
    tpp_ = TwipsPerPixel(WidgetOf(*surface_));
  }

  QWidget* Q(const platform::Widget& w) { return WidgetOf(w); }
  QRect Pixels(float left, float top, float width, float height) {
    return {TwipsToPixels(left, tpp_), TwipsToPixels(top, tpp_), TwipsToPixelSize(width, tpp_),
            TwipsToPixelSize(height, tpp_)};
  }

  Toolkit toolkit_;
  std::unique_ptr<platform::Surface> surface_;
  double tpp_ = 15;
};

TEST_F(QtToolkit, WidgetsSitAtTheNearestPixelOfTheirTwips) {
  platform::TextBox& text = surface_->GetTextBox("txtDate");
  platform::UpDown& spin = surface_->GetUpDown("spinCTL");
  text.SetLeft(0);
  text.SetTop(15);
  text.SetWidth(1335);
  text.SetHeight(285);
  spin.SetLeft(1060);
  spin.SetTop(35);
  spin.SetHeight(270);
  EXPECT_EQ(Q(text)->geometry(), Pixels(0, 15, 1335, 285));
  EXPECT_EQ(AreaOf(spin), Pixels(1060, 35, 255, 270));
  if (tpp_ == 15) {
    EXPECT_EQ(AreaOf(spin), QRect(71, 2, 17, 18));
  }

  // The spin indicator lies over the right end of the text box: the text
  // box is the widget there, the spin the part on top of it.
  const QPoint inside = AreaOf(spin).center();
  EXPECT_EQ(WidgetOf(*surface_)->childAt(inside), Q(text));
  EXPECT_EQ(dynamic_cast<detail::Surface&>(*surface_).PartAt(inside),
            dynamic_cast<detail::DrawnPart*>(&spin));

  // Lengths read back as written, whatever the pixels.
  text.SetWidth(1000.25F);
  EXPECT_EQ(text.Width(), 1000.25F);
  text.SetLeft(-1e30F);
  EXPECT_EQ(Q(text)->x(), -kMaxPixels);
}

TEST_F(QtToolkit, OnlyTheTextBoxIsATabStopOfTheField) {
  EXPECT_EQ(Q(surface_->GetTextBox("txtDate"))->focusPolicy(), Qt::StrongFocus);
  // The button and the arrows are drawn by the field: nothing to focus.
  EXPECT_TRUE(IsDrawnPart(surface_->GetCommandButton("cmdCalendar")));
  EXPECT_TRUE(IsDrawnPart(surface_->GetUpDown("spinCTL")));
  EXPECT_EQ(Q(surface_->GetUpDown("spinCTL")), nullptr);

  auto form = toolkit_.CreateForm(designs::CalendarForm());
  QWidget* first = Q(form->GetTextBox("txtMonth"));
  QStringList chain;
  QWidget* w = first;
  do {
    if (w->focusPolicy() & Qt::TabFocus) chain << w->objectName();
    w = w->nextInFocusChain();
  } while (w != first && chain.size() < 100);
  EXPECT_EQ(chain, (QStringList{"txtMonth", "txtYear", "cmdOK", "cmdCancel", "picDays", "spnMonth",
                                "spnYear"}));
}

TEST_F(QtToolkit, KeysThatAreNoCharactersBypassThePreview) {
  platform::TextBox& text = surface_->GetTextBox("txtDate");
  int previews = 0;
  surface_->KeyPreview = [&](std::int16_t&) { ++previews; };
  text.SetText(u"123");
  auto* edit = qobject_cast<QLineEdit*>(Q(text));
  QTest::keyClick(edit, Qt::Key_Delete);
  EXPECT_EQ(text.Text(), u"23");
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(text.SelText(), u"3");
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(previews, 0);
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(previews, 1);
}

// What the mouse sends for a double-click: press, release, double-click,
// release.
void DoubleClick(QWidget* widget, QPoint at) {
  const QPointF global(widget->mapToGlobal(at));
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, QPointF(at), global, Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
}

TEST_F(QtToolkit, ADoubleClickIsNoSecondClickAndSelectsNoWord) {
  platform::TextBox& text = surface_->GetTextBox("txtDate");
  std::vector<std::string> log;
  text.events.Click = [&] { log.push_back("click"); };
  text.events.DblClick = [&] { log.push_back("dblclick"); };
  text.SetWidth(3000);
  text.SetText(u"01/05/1999");
  DoubleClick(Q(text), QPoint(3, Q(text)->height() / 2));
  EXPECT_EQ(log, (std::vector<std::string>{"click", "dblclick"}));
  EXPECT_EQ(text.SelLength(), 0);

  auto form = toolkit_.CreateForm(designs::CalendarForm());
  platform::Label& cell = form->GetLabel("lblDay", 4);
  cell.events.Click = [&](int i) { log.push_back("cell " + std::to_string(i)); };
  cell.events.DblClick = [&](int i) { log.push_back("dblcell " + std::to_string(i)); };
  log.clear();
  DoubleClick(Q(cell), Q(cell)->rect().center());
  EXPECT_EQ(log, (std::vector<std::string>{"cell 4", "dblcell 4"}));
}

TEST_F(QtToolkit, HeldArrowsRepeatUntilReleased) {
  platform::UpDown& spin = surface_->GetUpDown("spinCTL");
  spin.SetHeight(270);
  int ups = 0;
  spin.events.Change = [&] {
    if (spin.Value() == 1) ++ups;
    if (spin.Value() != 0) spin.SetValue(0);
  };
  QWidget* body = WidgetOf(*surface_);
  const QPoint top = AreaOf(spin).topLeft() + QPoint(AreaOf(spin).width() / 2, 2);
  QWidget* hit = body->childAt(top) != nullptr ? body->childAt(top) : body;
  const QPoint at = hit->mapFrom(body, top);
  QTest::mousePress(hit, Qt::LeftButton, {}, at);
  EXPECT_EQ(ups, 1);
  QTest::qWait(1000);
  QTest::mouseRelease(hit, Qt::LeftButton, {}, at);
  const int held = ups;
  EXPECT_GE(held, 3);
  QTest::qWait(200);
  EXPECT_EQ(ups, held);
}

TEST_F(QtToolkit, DialogKeysPressOnlyTheButtonsTheDesignMarks) {
  auto calendar = toolkit_.CreateForm(designs::CalendarForm());
  bool shown_after_keys = false;
  toolkit_.SetModalHook([&](platform::Form& form) {
    QWidget* window = WidgetOf(form);
    QTest::keyClick(Q(form.GetTextBox("txtMonth")), Qt::Key_Return);
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClick(window, Qt::Key_Return);
    shown_after_keys = form.IsShown();
  });
  calendar->ShowModal();
  EXPECT_TRUE(shown_after_keys);

  auto about = toolkit_.CreateForm(designs::AboutForm());
  int presses = 0;
  platform::CommandButton& close = about->GetCommandButton("cmdClose");
  close.events.Click = [&] {
    ++presses;
    about->Hide();
  };
  toolkit_.SetModalHook(
      [&](platform::Form& form) { QTest::keyClick(WidgetOf(form), Qt::Key_Escape); });
  about->ShowModal();
  EXPECT_EQ(presses, 1);

  // Enter presses the button that has the focus.
  toolkit_.SetModalHook([&](platform::Form& form) {
    MoveFocus(form, &close);
    QTest::keyClick(WidgetOf(form), Qt::Key_Enter);
  });
  about->ShowModal();
  EXPECT_EQ(presses, 2);
}

TEST_F(QtToolkit, FormsAreFixedDialogsOfTheirDesignSize) {
  struct Case {
    const platform::SurfaceDesign& design;
  };
  for (const auto* design : {&designs::CalendarForm(), &designs::AboutForm()}) {
    auto form = toolkit_.CreateForm(*design);
    QWidget* window = WidgetOf(*form);
    SCOPED_TRACE(design->name);
    EXPECT_EQ(window->size(),
              QSize(TwipsToPixelSize(design->width, tpp_), TwipsToPixelSize(design->height, tpp_)));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->windowTitle(), ToQString(design->caption));
  }
  EXPECT_EQ(toolkit_.LiveForms(), 0);
}

TEST_F(QtToolkit, LabelsShowTheirCaptionAsPlainText) {
  auto form = toolkit_.CreateForm(designs::AboutForm());
  platform::Label& label = form->GetLabel("lblCopyRight");
  label.SetCaption(u"<b>&Morlex</b>");
  auto* q = qobject_cast<QLabel*>(Q(label));
  EXPECT_EQ(q->textFormat(), Qt::PlainText);
  EXPECT_EQ(q->text(), QStringLiteral("<b>&Morlex</b>"));
  label.SetAlignment(2);
  EXPECT_TRUE(q->alignment() & Qt::AlignHCenter);
  label.SetBordered(true);
  EXPECT_EQ(q->frameWidth(), 1);
  // A caption wider than the label is drawn smaller, and one far too wide
  // is seen to be cut; the caption itself stays whole.
  const double design_size = q->font().pointSizeF();
  label.SetCaption(u"Morlex Date Control, version one");
  EXPECT_LT(q->font().pointSizeF(), design_size);
  EXPECT_EQ(q->text(), QStringLiteral("Morlex Date Control, version one"));
  const std::u16string notice(200, u'x');
  label.SetCaption(notice);
  EXPECT_TRUE(q->text().endsWith(QChar(0x2026)));
  EXPECT_EQ(label.Caption(), notice);
}

TEST_F(QtToolkit, ALabelIsFittedAgainWhenItsRoomOrCaptionChanges) {
  auto form = toolkit_.CreateForm(designs::AboutForm());
  platform::Label& label = form->GetLabel("lblCopyRight");
  auto* q = qobject_cast<QLabel*>(Q(label));
  const std::u16string notice(200, u'x');
  const float width = label.Width();
  // Each step either keeps the fit or must redo it; none may leave the
  // text of an earlier one.
  label.SetCaption(notice);
  label.SetCaption(notice);
  EXPECT_TRUE(q->text().endsWith(QChar(0x2026)));
  label.SetWidth(60000);
  EXPECT_EQ(q->text(), ToQString(notice));
  label.SetWidth(width);
  EXPECT_TRUE(q->text().endsWith(QChar(0x2026)));
  label.SetCaption(u"OK");
  EXPECT_EQ(q->text(), QStringLiteral("OK"));
  label.SetBordered(!label.Bordered());
  label.SetBordered(!label.Bordered());
  EXPECT_EQ(q->text(), QStringLiteral("OK"));
}

// A label draws its own colours rather than the palette it inherits: they
// must show in a picture of a form never shown, and hold when the
// container's colours change.
TEST_F(QtToolkit, LabelsWearTheirOwnColoursWhereverTheyAreDrawn) {
  auto form = toolkit_.CreateForm(designs::CalendarForm());
  // The last cell lies on top of the others until a grid lays them out.
  QWidget* cell = Q(form->GetLabel("lblDay", 41));
  QWidget* window = cell->window();
  const auto shown = [&] {
    return window->grab().toImage().pixelColor(cell->mapTo(window, QPoint(cell->width() - 1, 0)));
  };
  EXPECT_EQ(shown(), QApplication::palette(cell).color(QPalette::Button));  // on the grid's white
  form->GetLabel("lblDay", 41).SetBackColor(0x0000FF00);
  EXPECT_EQ(shown(), QColor(Qt::green));
  form->GetLabel("lblDay", 41).SetBackColor(0x00FFFFFF);
  EXPECT_EQ(shown(), QColor(Qt::white));
  // A heading is in its form's colours; the form then changes its own.
  cell = Q(form->GetLabel("lblDayName", 0));
  QPalette red = window->palette();
  red.setColor(QPalette::Window, Qt::red);
  window->setPalette(red);
  EXPECT_EQ(shown(), QApplication::palette(cell).color(QPalette::Button));
}

// A label draws its caption, frame and background itself (from laid-out
// lines it keeps): the pixels must be those of a QLabel in its colours, for
// each alignment, a bold face, a frame, a disabled cell, a caption too wide
// for its cell, and drawn twice (the second time from the kept line).
TEST_F(QtToolkit, ALabelDrawsWhatAQLabelInItsColoursDraws) {
  auto form = toolkit_.CreateForm(designs::CalendarForm());
  platform::Label& label = form->GetLabel("lblDay", 12);
  auto* cell = qobject_cast<detail::CellLabel*>(Q(label));
  ASSERT_NE(cell, nullptr);
  label.SetLeft(0);
  label.SetTop(0);
  label.SetHeight(300);
  label.SetDay(Date{1999, 12, 7});  // a day's number is drawn from kept lines
  struct Case {
    const char16_t* caption;
    int alignment;
    bool bold, bordered, enabled;
    std::uint32_t back;
    float width;
  };
  const Case cases[] = {
      {u"7", 2, false, false, true, 0x00FFFFFF, 450},
      {u"28", 1, true, false, true, 0x00FFFFFF, 450},
      {u"Wed", 0, false, true, true, platform::kColorButtonFace, 600},
      {u"31", 2, false, true, false, 0x0000FF00, 450},
      {u"", 2, false, false, false, 0x00FFFFFF, 450},
      {u"19 ", 2, true, false, true, 0x00FFFFFF, 90},  // wider than its cell
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.caption).toStdString());
    label.SetWidth(c.width);
    label.SetCaption(c.caption);
    label.SetAlignment(c.alignment);
    label.SetBold(c.bold);
    label.SetBordered(c.bordered);
    label.SetEnabled(c.enabled);
    label.SetBackColor(c.back);
    QLabel reference(cell->parentWidget());
    reference.setGeometry(cell->geometry());
    reference.setFont(cell->font());
    reference.setText(cell->text());
    reference.setAlignment(cell->alignment());
    reference.setIndent(0);
    reference.setFrameStyle(cell->frameStyle());
    reference.setEnabled(cell->isEnabled());
    reference.setAutoFillBackground(true);
    reference.setPalette(cell->Colours());
    const QImage expected = reference.grab().toImage();
    EXPECT_EQ(cell->grab().toImage(), expected);
    EXPECT_EQ(cell->grab().toImage(), expected);
  }
}

TEST_F(QtToolkit, TheNoticeLineFitsItsLabelAtTheDesignFont) {
  auto form = toolkit_.CreateForm(designs::AboutForm());
  platform::Label& label = form->GetLabel("lblCopyRight");
  auto* q = qobject_cast<QLabel*>(Q(label));
  const double design_size = q->font().pointSizeF();
  label.SetCaption(about::kNoticeLine);
  EXPECT_EQ(q->font().pointSizeF(), design_size);
  EXPECT_EQ(q->text(), ToQString(about::kNoticeLine));
}

TEST_F(QtToolkit, PicturesComeFromTheArtworkFolderOrAreDrawn) {
  const QImage drawn = detail::DrawnPicture("calendar-button.bmp");
  ASSERT_EQ(drawn.size(), QSize(17, 16));
  EXPECT_EQ(drawn.pixel(0, 0), qRgb(192, 192, 192));   // button face
  EXPECT_EQ(drawn.pixel(8, 3), qRgb(0, 0, 128));       // the navy band
  EXPECT_EQ(drawn.pixel(2, 10), qRgb(0, 0, 0));        // the edge
  EXPECT_EQ(drawn.pixel(6, 10), qRgb(255, 255, 255));  // the sheet
  EXPECT_EQ(detail::DrawnPicture("about.bmp").size(), QSize(24, 22));
  EXPECT_TRUE(detail::DrawnPicture("nothing.bmp").isNull());
  EXPECT_EQ(detail::ArtworkPicture("calendar-button.bmp").size(), QSize(17, 16));

  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QImage red(17, 16, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  ASSERT_TRUE(red.save(QDir(folder.path()).filePath("calendar-button.bmp"), "BMP"));
  qputenv("MORLEX_ARTWORK_DIR", folder.path().toUtf8());
  const QImage found = detail::ArtworkPicture("calendar-button.bmp");
  qunsetenv("MORLEX_ARTWORK_DIR");
  EXPECT_EQ(found.pixel(5, 5), qRgb(255, 0, 0));

  const QPixmap twice = detail::CrispPixmap(drawn, 2.0);
  EXPECT_EQ(twice.size(), QSize(34, 32));
  EXPECT_DOUBLE_EQ(twice.devicePixelRatio(), 2.0);
  const QImage pixels = twice.toImage();
  EXPECT_EQ(pixels.pixel(17, 7), drawn.pixel(8, 3));  // no smoothing at the band
}

}  // namespace
}  // namespace morlex::qt
