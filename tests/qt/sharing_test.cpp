// What many fields on one form share instead of making each for itself: the
// decoded pictures (read again whenever their file changes), the calendar
// button's icon, the pictures of their frames and arrows, and no window of
// their own while they are built.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "morlex/control/morlex_date.h"
#include "morlex/designs/form_designs.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "widgets_p.h"  // the surface, the drawn parts and the kept pictures inside

namespace morlex::qt {
namespace {

constexpr char kButton[] = "calendar-button.bmp";

// MORLEX_ARTWORK_DIR for the life of the object.
class ArtworkFolder {
 public:
  explicit ArtworkFolder(const QString& path) { qputenv("MORLEX_ARTWORK_DIR", path.toUtf8()); }
  ~ArtworkFolder() { qunsetenv("MORLEX_ARTWORK_DIR"); }
  ArtworkFolder(const ArtworkFolder&) = delete;
  ArtworkFolder& operator=(const ArtworkFolder&) = delete;
};

QImage Plain(QSize size, QRgb color) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

TEST(SharedPictures, ReadOnceAndAgainWhenTheFileChanges) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString file = QDir(folder.path()).filePath(kButton);
  const std::filesystem::path path = file.toStdString();
  const ArtworkFolder pointed(folder.path());

  // Each step changes the folder (or not), then reads the picture.
  enum class Change { kNone, kWrite, kWriteSameSizeLater, kRemove };
  struct Step {
    const char* what;
    Change change;
    QImage written;
    QSize size;   // of the picture read
    QRgb centre;  // its colour at (5, 5)
    bool shared;  // the same image as the step before
  };
  const QRgb red = qRgb(255, 0, 0);
  const QRgb blue = qRgb(0, 0, 255);
  const QRgb green = qRgb(0, 255, 0);
  const QRgb sheet = qRgb(255, 255, 255);  // of the drawn stand-in
  const Step steps[] = {
      {"first read", Change::kWrite, Plain({17, 16}, red), {17, 16}, red, false},
      {"unchanged file", Change::kNone, {}, {17, 16}, red, true},
      {"a bigger picture", Change::kWrite, Plain({20, 18}, blue), {20, 18}, blue, false},
      {"same size, written later",
       Change::kWriteSameSizeLater,
       Plain({20, 18}, green),
       {20, 18},
       green,
       false},
      {"file removed: the stand-in", Change::kRemove, {}, {17, 16}, sheet, false},
      {"stand-in again", Change::kNone, {}, {17, 16}, sheet, true},
      {"file back", Change::kWrite, Plain({17, 16}, red), {17, 16}, red, false},
  };
  QImage before;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    const auto written_before = std::filesystem::exists(path)
                                    ? std::filesystem::last_write_time(path)
                                    : std::filesystem::file_time_type{};
    switch (step.change) {
      case Change::kNone:
        break;
      case Change::kWrite:
        ASSERT_TRUE(step.written.save(file, "BMP"));
        break;
      case Change::kWriteSameSizeLater:
        ASSERT_TRUE(step.written.save(file, "BMP"));
        // The clock of the file system may not have moved since the last
        // write; a later time is what an edit some moments later has.
        std::filesystem::last_write_time(path, written_before + std::chrono::seconds(2));
        break;
      case Change::kRemove:
        ASSERT_TRUE(QFile::remove(file));
        break;
    }
    const QImage picture = detail::ArtworkPicture(kButton);
    EXPECT_EQ(picture.size(), step.size);
    EXPECT_EQ(picture.pixel(5, 5) & 0xFFFFFF, step.centre & 0xFFFFFF);
    EXPECT_EQ(picture.cacheKey() == before.cacheKey(), step.shared);
    before = picture;
  }
}

TEST(SharedPictures, AnotherFolderIsAnotherPicture) {
  const QImage tree = detail::ArtworkPicture(kButton);
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  ASSERT_TRUE(Plain({17, 16}, qRgb(255, 0, 0)).save(QDir(folder.path()).filePath(kButton), "BMP"));
  {
    const ArtworkFolder pointed(folder.path());
    EXPECT_EQ(detail::ArtworkPicture(kButton).pixel(5, 5), qRgb(255, 0, 0));
  }
  const QImage again = detail::ArtworkPicture(kButton);
  EXPECT_EQ(again, tree);
  EXPECT_NE(again.pixel(5, 5), qRgb(255, 0, 0));
}

detail::DrawnButton* CalendarButton(MorlexDateWidget& field) {
  return dynamic_cast<detail::DrawnButton*>(
      &field.control().ControlSurface().GetCommandButton("cmdCalendar"));
}

TEST(SharedPictures, CalendarButtonsShareOneIconWithBothSharpnesses) {
  MorlexDateWidget first;
  MorlexDateWidget second;
  ASSERT_NE(CalendarButton(first), nullptr);
  const QIcon icon = CalendarButton(first)->Icon();
  EXPECT_EQ(icon.cacheKey(), CalendarButton(second)->Icon().cacheKey());
  const QList<QSize> sizes = icon.availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(17, 16)));
  EXPECT_TRUE(sizes.contains(QSize(34, 32)));
  EXPECT_EQ(CalendarButton(first)->IconSize(), QSize(17, 16));
}

TEST(SurfaceParent, ControlSurfacesUseTheScopesWidgetAsTheirBody) {
  Toolkit toolkit;
  Toolkit other;
  QWidget outer;
  outer.setObjectName(QStringLiteral("outer"));
  const QFont outer_font = outer.font();
  QWidget inner;
  struct Case {
    const char* what;
    Toolkit* scope_toolkit;
    QWidget* scope_outer;
    QWidget* scope_inner;
    QWidget* body;  // nullptr: a window of its own
  };
  const Case cases[] = {
      {"no scope: a window of its own", &toolkit, nullptr, nullptr, nullptr},
      {"one scope", &toolkit, &outer, nullptr, &outer},
      {"the innermost scope wins", &toolkit, &outer, &inner, &inner},
      {"a scope on another toolkit counts only there", &other, &outer, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::optional<detail::SurfaceParentScope> first;
    std::optional<detail::SurfaceParentScope> second;
    if (c.scope_outer != nullptr) first.emplace(*c.scope_toolkit, c.scope_outer);
    if (c.scope_inner != nullptr) second.emplace(*c.scope_toolkit, c.scope_inner);
    auto surface = toolkit.CreateControlSurface(designs::ControlSurface());
    QWidget* body = WidgetOf(*surface);
    if (c.body == nullptr) {
      EXPECT_TRUE(body->isWindow());
      EXPECT_EQ(body->objectName(), QStringLiteral("MorlexDate"));
    } else {
      EXPECT_EQ(body, c.body);
    }
    // The innermost scope knows the surface it had made.
    const detail::SurfaceParentScope* innermost = second ? &*second : first ? &*first : nullptr;
    if (innermost != nullptr) {
      EXPECT_EQ(innermost->Made(),
                c.body != nullptr ? &dynamic_cast<detail::Surface&>(*surface) : nullptr);
    }
    QPointer<QWidget> text = WidgetOf(surface->GetTextBox("txtDate"));
    EXPECT_EQ(text->parentWidget(), body);
    // The body draws the button and the arrows; only the text box is a
    // widget of its own.
    EXPECT_EQ(WidgetOf(surface->GetCommandButton("cmdCalendar")), nullptr);
    EXPECT_EQ(WidgetOf(surface->GetUpDown("spinCTL")), nullptr);
    EXPECT_EQ(body->findChildren<QWidget*>(Qt::FindDirectChildrenOnly),
              QList<QWidget*>{text.data()});
    // The design's font reaches the widgets, not a body that is not the
    // surface's own.
    EXPECT_EQ(text->font(), dynamic_cast<detail::Surface&>(*surface).SurfaceFont());
    surface.reset();
    EXPECT_TRUE(text.isNull());  // the surface's widgets go with it
  }
  EXPECT_EQ(outer.objectName(), QStringLiteral("outer"));
  EXPECT_EQ(outer.font(), outer_font);
  EXPECT_TRUE(outer.children().isEmpty());
  // Every scope undone.
  EXPECT_EQ(detail::SurfaceParentScope::Current(toolkit), nullptr);
  EXPECT_EQ(detail::SurfaceParentScope::Current(other), nullptr);
  {
    const detail::SurfaceParentScope scope(toolkit, &outer);
    { const detail::SurfaceParentScope nested(toolkit, &inner); }
    EXPECT_EQ(detail::SurfaceParentScope::Current(toolkit), &scope);
  }
}

TEST(SurfaceParent, AFieldIsItsSurfacesBody) {
  // No window is made for a field's widgets: they are the field's own
  // children, one level down.
  Toolkit toolkit;
  const auto windows = QApplication::topLevelWidgets().size();
  auto field = std::make_unique<MorlexDateWidget>(toolkit, MorlexDateWidget::Startup::kNew);
  EXPECT_EQ(QApplication::topLevelWidgets().size(), windows + 1);
  EXPECT_EQ(WidgetOf(field->control().ControlSurface()), field.get());
  QPointer<QWidget> text = WidgetOf(field->control().ControlSurface().GetTextBox("txtDate"));
  EXPECT_EQ(text->parentWidget(), field.get());
  EXPECT_EQ(field->focusProxy(), text.data());
  EXPECT_EQ(detail::SurfaceParentScope::Current(toolkit), nullptr);
  field.reset();
  EXPECT_TRUE(text.isNull());
}

// The largest difference of a colour channel between two pictures of the
// same size; 256 when the sizes differ.
int LargestDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 256;
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  int most = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row);
      const QRgb q = y.pixel(col, row);
      most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                       std::abs(qBlue(p) - qBlue(q))});
    }
  }
  return most;
}

QImage Rendered(QWidget& widget, qreal ratio) {
  QPixmap picture(widget.size() * ratio);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::white);
  widget.render(&picture);
  return picture.toImage();
}

TEST(KeptPictures, TheTextBoxLooksLikeALineEditWithItsOwnFrame) {
  // Side by side on one form: the text box, whose frame is a kept picture,
  // and a plain line edit that draws its frame itself.
  struct Case {
    const char* what;
    QSize size;
    QString text;
    bool enabled;
    bool read_only;
  };
  const Case cases[] = {
      {"a date", {109, 21}, QStringLiteral("12/08/2026"), true, false},
      {"empty", {109, 21}, QString(), true, false},
      {"taller and wider", {160, 40}, QStringLiteral("1/5/99"), true, false},
      {"disabled", {109, 21}, QStringLiteral("12/08/2026"), false, false},
      {"read-only", {109, 21}, QStringLiteral("12/08/2026"), true, true},
      {"text wider than the box", {40, 21}, QStringLiteral("12/08/2026"), true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QWidget form;
    detail::LineEdit kept(&form);
    QLineEdit plain(&form);
    ASSERT_TRUE(kept.KeepsFramePicture());
    for (QLineEdit* edit : {static_cast<QLineEdit*>(&kept), &plain}) {
      edit->resize(c.size);
      edit->setText(c.text);
      edit->setCursorPosition(0);
      edit->setEnabled(c.enabled);
      edit->setReadOnly(c.read_only);
    }
    for (int round = 0; round < 2; ++round) {  // drawn, then copied
      EXPECT_LE(LargestDifference(kept.grab().toImage(), plain.grab().toImage()), 2) << round;
    }
    // Rendered into pictures at other pixel ratios (as snapshots are).
    for (const qreal ratio : {1.5, 2.0}) {
      EXPECT_EQ(LargestDifference(Rendered(kept, ratio), Rendered(plain, ratio)), 0) << ratio;
    }
    EXPECT_EQ(kept.inputMethodQuery(Qt::ImCursorRectangle),
              plain.inputMethodQuery(Qt::ImCursorRectangle));
    EXPECT_EQ(kept.cursorPositionAt(QPoint(c.size.width() / 2, c.size.height() / 2)),
              plain.cursorPositionAt(QPoint(c.size.width() / 2, c.size.height() / 2)));
  }
}

TEST(KeptPictures, UnderAStyleSheetTheTextBoxDrawsItsOwnFrame) {
  QWidget form;
  detail::LineEdit edit(&form);
  ASSERT_TRUE(edit.KeepsFramePicture());
  EXPECT_FALSE(edit.hasFrame());
  EXPECT_NE(edit.textMargins(), QMargins());

  form.setStyleSheet(QStringLiteral("QLineEdit { border: 3px solid red; }"));
  edit.ensurePolished();
  EXPECT_FALSE(edit.KeepsFramePicture());
  EXPECT_TRUE(edit.hasFrame());
  EXPECT_EQ(edit.textMargins(), QMargins());
  edit.resize(109, 21);
  EXPECT_EQ(edit.grab().toImage().pixel(0, 10), qRgb(255, 0, 0));  // the sheet's border

  form.setStyleSheet(QString());
  edit.ensurePolished();
  EXPECT_TRUE(edit.KeepsFramePicture());
  EXPECT_FALSE(edit.hasFrame());
}

TEST(KeptPictures, ThePressedArrowLooksPressedAndBackAfterwards) {
  MorlexDateWidget field;
  const QRect arrows = AreaOf(field.control().ControlSurface().GetUpDown("spinCTL"));
  ASSERT_FALSE(arrows.isEmpty());
  const QImage rest = field.grab(arrows).toImage();
  // The user's press lands on the text box under the arrows, which passes
  // it on.
  const QPoint upper = arrows.topLeft() + QPoint(arrows.width() / 2, arrows.height() / 4);
  QWidget* hit = field.childAt(upper);
  ASSERT_NE(hit, nullptr);
  const QPoint at = hit->mapFrom(&field, upper);
  QMouseEvent press(QEvent::MouseButtonPress, at, hit->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(hit, &press);
  const QImage pressed = field.grab(arrows).toImage();
  QMouseEvent release(QEvent::MouseButtonRelease, at, hit->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(hit, &release);
  EXPECT_GT(LargestDifference(rest, pressed), 0);
  EXPECT_EQ(field.grab(arrows).toImage(), rest);
  // Another field's arrows are the same picture.
  MorlexDateWidget other;
  EXPECT_EQ(other.grab(arrows).toImage(), rest);
}

TEST(PlacedButtons, APolishRequestBringsTheParentNoLayoutRequest) {
  // Counts the layout requests that reach a shown parent without a layout.
  class LayoutWatch final : public QObject {
   public:
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::LayoutRequest) ++requests;
      return false;
    }
    int requests = 0;
  };
  struct Case {
    const char* what;
    bool placed;  // the toolkit's button, or a plain QPushButton
    int requests;
  };
  const Case cases[] = {{"a plain push button", false, 1}, {"the toolkit's button", true, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QWidget parent;
    QPushButton* button =
        c.placed ? new detail::PushButton(&parent) : new QPushButton(QStringLiteral("x"), &parent);
    button->setGeometry(0, 0, 20, 20);
    parent.show();
    QCoreApplication::processEvents();
    LayoutWatch watch;
    parent.installEventFilter(&watch);
    // What Qt posts to every new widget, here delivered while the parent
    // is shown, as on a form shown before the event loop gets to it.
    QEvent request(QEvent::PolishRequest);
    QCoreApplication::sendEvent(button, &request);
    QCoreApplication::processEvents();
    EXPECT_EQ(watch.requests, c.requests);
    EXPECT_TRUE(button->testAttribute(Qt::WA_WState_Polished));
  }
}

}  // namespace
}  // namespace morlex::qt
