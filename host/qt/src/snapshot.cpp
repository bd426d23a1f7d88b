// Pictures of the surfaces, for people to look at: the field in its formats
// and options, the field in a form beside Qt's own editors at four font
// sizes, the open calendar (also under a dark palette and in German) and the
// about box, both also at three application font sizes and right to left.
#include <QApplication>
#include <QDateEdit>
#include <QFont>
#include <QFormLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include "morlex/control/morlex_date.h"
#include "morlex/core/date_layout.h"
#include "morlex/core/error.h"
#include "morlex/designs/form_designs.h"
#include "morlex/host/qt_binding.h"
#include "morlex/platform/clock.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "morlex/qt/translation.h"
#include "morlex/qt/units.h"
#include "morlex/qtshared/palettes.h"

namespace morlex::qt {
namespace {

constexpr int kMargin = 8;

// A widget as it looks on a form: its pixels on the window colour, with a
// margin, at the device pixel ratio asked for.
QPixmap Render(QWidget& widget, double ratio, int margin = kMargin) {
  const QSize logical = widget.size() + QSize(2 * margin, 2 * margin);
  QPixmap pixmap(logical * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(widget.palette().color(QPalette::Window));
  QPainter painter(&pixmap);
  widget.render(&painter, QPoint(margin, margin));
  return pixmap;
}

struct Options {
  bool calendar;
  bool spin;
  const char* name;
};

constexpr Options kOptions[] = {
    {true, true, "calendar-spin"},
    {true, false, "calendar"},
    {false, true, "spin"},
    {false, false, "plain"},
};

constexpr const char* kFormatNames[] = {"mm-dd-yyyy", "mm-dd-yy", "m-d-yyyy", "m-d-yy"};
// One picture for each format the field knows.
static_assert(std::size(kFormatNames) == kDateFormats.size());

class Field {
 public:
  Field(Toolkit& toolkit, const platform::Clock& clock)
      : widget_(toolkit, MorlexDateWidget::Startup::kHostInitialises) {
    widget_.setClock(&clock);
    widget_.initProperties();
    widget_.resizeTwips(widget_.site().Width(), widget_.site().Height());
    widget_.control().Show();
  }
  MorlexDateWidget& operator*() { return widget_; }
  MorlexDateWidget* operator->() { return &widget_; }

 private:
  MorlexDateWidget widget_;
};

void Save(const QPixmap& pixmap, const std::filesystem::path& path,
          std::vector<std::filesystem::path>& written) {
  if (!pixmap.save(QString::fromStdString(path.string()), "PNG")) {
    throw Error(errnum::kFileFailure, "Cannot write " + path.string());
  }
  written.push_back(path);
}

// The form a modal show puts on screen, pictured from inside its loop; when
// the action opens no form, the bare form of the design stands in.
QPixmap FormPicture(Toolkit& toolkit, double ratio, const platform::SurfaceDesign& design,
                    const std::function<void()>& open) {
  QPixmap shot;
  toolkit.SetModalHook([&](platform::Form& form) {
    if (QWidget* window = WidgetOf(form)) shot = Render(*window, ratio, 0);
  });
  {
    FailureCapture capture;  // a failure of the action leaves the stand-in
    open();
  }
  toolkit.SetModalHook(nullptr);
  if (shot.isNull()) {
    auto form = toolkit.CreateForm(design);
    if (QWidget* window = WidgetOf(*form)) shot = Render(*window, ratio, 0);
  }
  return shot;
}

// The fields show the application's font where the designs name the
// system's; the pictures pin it to the designs' face at its size, so that
// they come out the same whatever the desktop's font.
class PinnedFont {
 public:
  // points 0 keeps the designs' size.
  explicit PinnedFont(double points = 0) : was_(QApplication::font()) {
    QFont font = StandInFont(platform::Font{});
    if (points > 0) font.setPointSizeF(points);
    QApplication::setFont(font);
  }
  ~PinnedFont() { QApplication::setFont(was_); }
  PinnedFont(const PinnedFont&) = delete;
  PinnedFont& operator=(const PinnedFont&) = delete;

 private:
  QFont was_;
};

// A form as a new Qt developer lays one out: the field in a QFormLayout
// beside a QLineEdit and a QDateEdit, all in the form's font at points.
QPixmap FormBesideQt(double ratio, double points) {
  QWidget form;
  QFont font = QApplication::font();
  font.setPointSizeF(points);
  form.setFont(font);
  auto* layout = new QFormLayout(&form);
  layout->addRow(QStringLiteral("QLineEdit"), new QLineEdit(QStringLiteral("Ada Lovelace")));
  auto* date = new QDateEdit(QDate(1999, 3, 7));
  date->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
  layout->addRow(QStringLiteral("QDateEdit"), date);
  auto* field = new MorlexDateWidget(&form);
  field->setText(QStringLiteral("03/07/1999"));
  layout->addRow(QStringLiteral("MorlexDate"), field);
  layout->activate();
  form.adjustSize();
  return Render(form, ratio);
}

// The application's style and palette (a dark one), for one scope.
class DarkLook {
 public:
  DarkLook() : style_(QApplication::style()->name()), palette_(QApplication::palette()) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(qtshared::DarkPalette());
  }
  ~DarkLook() {
    QApplication::setStyle(QStyleFactory::create(style_));
    QApplication::setPalette(palette_);
  }
  DarkLook(const DarkLook&) = delete;
  DarkLook& operator=(const DarkLook&) = delete;

 private:
  QString style_;
  QPalette palette_;
};

// The user's language for one scope: the default locale, and the library's
// translation when one is asked for.
class UserLanguage {
 public:
  UserLanguage(const QLocale& locale, bool translated) : was_(QLocale()) {
    QLocale::setDefault(locale);
    if (translated) translator_ = InstallTranslator(locale);
  }
  ~UserLanguage() {
    delete translator_;
    QLocale::setDefault(was_);
  }
  UserLanguage(const UserLanguage&) = delete;
  UserLanguage& operator=(const UserLanguage&) = delete;

 private:
  QLocale was_;
  QTranslator* translator_ = nullptr;
};

}  // namespace

std::vector<std::filesystem::path> WriteSnapshots(const std::filesystem::path& folder,
                                                  double device_pixel_ratio) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    throw Error(errnum::kInvalidCall, "Pictures need a QApplication");
  }
  const double ratio = device_pixel_ratio > 0 ? device_pixel_ratio : 1.0;
  std::filesystem::create_directories(folder);
  std::vector<std::filesystem::path> written;
  const PinnedFont pinned;
  // English unless a picture asks for another language, whatever the user's.
  const UserLanguage english(QLocale(QLocale::English, QLocale::UnitedStates), false);
  Toolkit toolkit;
  const platform::FixedClock clock({2026, 12, 8});

  // Every format with every choice of the two helpers, one file each and one
  // sheet with all of them.
  std::vector<std::vector<QPixmap>> sheet;
  for (int format = 0; format < static_cast<int>(kDateFormats.size()); ++format) {
    std::vector<QPixmap> row;
    for (const Options& options : kOptions) {
      Field field(toolkit, clock);
      field->setCalendar(options.calendar);
      field->setSpin(options.spin);
      field->setText(QStringLiteral("3/7/1999"));
      field->setDateFormat(format);
      const QPixmap picture = Render(*field, ratio);
      Save(picture,
           folder / (std::string("field-") + kFormatNames[format] + "-" + options.name + ".png"),
           written);
      row.push_back(picture);
    }
    sheet.push_back(std::move(row));
  }
  {
    const QSize cell = sheet[0][0].deviceIndependentSize().toSize();
    QPixmap all(QSize(cell.width() * 4, cell.height() * 4) * ratio);
    all.setDevicePixelRatio(ratio);
    all.fill(QApplication::palette().color(QPalette::Window));
    QPainter painter(&all);
    for (int r = 0; r < 4; ++r) {
      for (int c = 0; c < 4; ++c)
        painter.drawPixmap(c * cell.width(), r * cell.height(), sheet[r][c]);
    }
    painter.end();
    Save(all, folder / "fields.png", written);
  }

  for (const int points : {9, 14, 18, 20}) {
    Save(FormBesideQt(ratio, points), folder / ("form-" + std::to_string(points) + "pt.png"),
         written);
  }

  const auto calendar = [&](const std::string& name) {
    Field field(toolkit, clock);
    field->setText(QStringLiteral("12/31/1999"));
    platform::CommandButton& button =
        field->control().ControlSurface().GetCommandButton("cmdCalendar");
    Save(FormPicture(toolkit, ratio, designs::CalendarForm(),
                     [&] {
                       auto click = button.events.Click;
                       if (click) click();
                     }),
         folder / name, written);
  };
  calendar("calendar.png");
  {
    const DarkLook dark;
    calendar("calendar-dark.png");
  }
  {
    const UserLanguage german(QLocale(QLocale::German, QLocale::Germany), true);
    calendar("calendar-de.png");
  }
  const auto about = [&](const std::string& name) {
    Field field(toolkit, clock);
    Save(FormPicture(toolkit, ratio, designs::AboutForm(), [&] { field->aboutBox(); }),
         folder / name, written);
  };
  about("about.png");
  // Both forms at the application's font sizes: they grow with the font.
  for (const int points : {9, 14, 20}) {
    const PinnedFont larger(points);
    const std::string size = std::to_string(points).append("pt.png");
    calendar(std::string("calendar-").append(size));
    about(std::string("about-").append(size));
  }
  {
    // Right to left, as an application in Arabic or Hebrew runs: the field
    // mirrors beside Qt's own widgets, and so does the calendar.
    const Qt::LayoutDirection was = QGuiApplication::layoutDirection();
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    Save(FormBesideQt(ratio, 14), folder / "form-rtl.png", written);
    calendar("calendar-rtl.png");
    about("about-rtl.png");
    QGuiApplication::setLayoutDirection(was);
  }
  return written;
}

}  // namespace morlex::qt
