// morlex-quick-fuzz: a seeded random user and program playing DateField on
// Qt Quick (offscreen), beside a TextField: typed characters and editing
// keys with and without modifiers, Up/Down, Alt+Down and F4 (the calendar
// popup, played from a timer inside its loop with random keys and clicks,
// then closed), Tab, presses anywhere on the field, and writes of text,
// date, format, range, readOnly, spin and calendar.
//
// After every step:
//  - no popup is open;
//  - `date` follows the text: invalid unless the text reads as a date, and
//    a valid date lies in the years 100 to 9999;
//  - `acceptableInput` holds exactly for an empty text or one that reads as
//    a date within the range, and the range stays ordered.
//
//   morlex-quick-fuzz [--seed N] [--steps N]
// exits 0 when every invariant held; otherwise names the step and exits 1.
#include <QDate>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

class Player {
 public:
  Player(QQuickWindow& window, QQuickItem& field, unsigned seed)
      : window_(window), field_(field), random_(seed) {}

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  void Key(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QGuiApplication::sendEvent(&window_, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QGuiApplication::sendEvent(&window_, &release);
  }

  void RandomKey() {
    static const char kChars[] = "0123456789//..-a ";
    static const int kKeys[] = {Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down,
                                Qt::Key_Home,   Qt::Key_End,    Qt::Key_Delete, Qt::Key_Backspace,
                                Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space,  Qt::Key_PageUp,
                                Qt::Key_Tab,    Qt::Key_A,      Qt::Key_X,      Qt::Key_V};
    Qt::KeyboardModifiers held;
    if (Pick(6) == 0) held |= Qt::ShiftModifier;
    if (Pick(8) == 0) held |= Qt::ControlModifier;
    if (Pick(10) == 0) held |= Qt::AltModifier;
    if (Pick(2) == 0) {
      const char c = kChars[Pick(sizeof kChars - 1)];
      Key(c == ' ' ? static_cast<int>(Qt::Key_Space) : c, held, QString(QChar(c)));
    } else {
      const int key = kKeys[Pick(sizeof kKeys / sizeof kKeys[0])];
      Key(key, held, key == Qt::Key_Space ? QStringLiteral(" ") : QString());
    }
  }

  // A calendar that a step opens (by key or by a click on its button) is
  // played from a timer meanwhile, then closed.
  void PlayPopupIfOpen() {
    QTimer::singleShot(0, &window_, [this] {
      if (field_.property("popupObject").value<QObject*>() == nullptr) return;
      for (int i = Pick(12); i > 0; --i) {
        if (Pick(3) == 0) {
          QObject* popup = field_.property("popupObject").value<QObject*>();
          if (popup == nullptr) return;
          auto* content = popup->property("contentItem").value<QQuickItem*>();
          const auto parts = content != nullptr ? content->childItems() : QList<QQuickItem*>();
          if (!parts.isEmpty()) {
            QQuickItem* part = parts[Pick(static_cast<int>(parts.size()))];
            const QPointF at = part->mapToScene(QPointF(part->width() / 2, part->height() / 2));
            Click(at);
          }
        } else {
          RandomKey();
        }
      }
      if (QObject* popup = field_.property("popupObject").value<QObject*>()) {
        QMetaObject::invokeMethod(popup, "close");
      }
    });
  }

  void OpenCalendar() {
    if (Pick(2) == 0) {
      Key(Qt::Key_Down, Qt::AltModifier, {});
    } else {
      Key(Qt::Key_F4, Qt::NoModifier, {});
    }
  }

  void Click(QPointF at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QGuiApplication::sendEvent(&window_, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QGuiApplication::sendEvent(&window_, &release);
  }

  QDate RandomDate() {
    if (Pick(8) == 0) return {};
    return QDate(Pick(3) == 0 ? 50 + Pick(10000) : 1990 + Pick(50), 1 + Pick(12), 1 + Pick(31));
  }

  std::string Step() {
    PlayPopupIfOpen();
    switch (Pick(12)) {
      case 0:
        field_.setProperty("text", QStringLiteral("%1/%2/%3")
                                       .arg(Pick(14))
                                       .arg(Pick(33))
                                       .arg(Pick(3) == 0 ? Pick(100) : 1900 + Pick(200)));
        return "text";
      case 1:
        field_.setProperty("date", RandomDate());
        return "date";
      case 2:
        field_.setProperty("dateFormat", Pick(5));
        return "format";
      case 3:
        field_.setProperty(Pick(2) == 0 ? "minimumDate" : "maximumDate", RandomDate());
        return "range";
      case 4:
        field_.setProperty(Pick(3) == 0   ? "readOnly"
                           : Pick(2) == 0 ? "spin"
                                          : "calendar",
                           Pick(2) == 0);
        return "flag";
      case 5:
        OpenCalendar();
        return "calendar";
      case 6:
        Click(field_.mapToScene(QPointF(Pick(static_cast<int>(field_.width()) + 1),
                                        Pick(static_cast<int>(field_.height()) + 1))));
        return "click";
      case 7:
        if (Pick(2) == 0) {
          field_.forceActiveFocus();
        } else {
          Key(Qt::Key_Tab, Qt::NoModifier, {});
        }
        return "focus";
      default:
        RandomKey();
        return "key";
    }
  }

  // The broken invariant; empty when all hold.
  std::string Check() const {
    if (field_.property("popupOpen").toBool()) return "a popup is still open";
    const QString text = field_.property("text").toString();
    const QDate date = field_.property("date").toDate();
    const QDate lo = field_.property("minimumDate").toDate();
    const QDate hi = field_.property("maximumDate").toDate();
    if (date.isValid() && (date.year() < 100 || date.year() > 9999)) return "date out of years";
    if (text.isEmpty() && date.isValid()) return "an empty text with a date";
    if (!(lo <= hi)) return "range out of order";
    const bool acceptable = field_.property("acceptableInput").toBool();
    if (text.isEmpty() && !acceptable) return "an empty text not acceptable";
    if (acceptable && !text.isEmpty() && !date.isValid()) {
      // A text that reads as a date in range is one the field stands for.
      return "an acceptable text without a date";
    }
    return {};
  }

 private:
  QQuickWindow& window_;
  QQuickItem& field_;
  std::mt19937 random_;
};

}  // namespace

int main(int argc, char** argv) {
  unsigned seed = 1;
  int steps = 1000;
  bool verbose = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--verbose") verbose = true;
  }
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--seed") seed = static_cast<unsigned>(std::atoi(argv[i + 1]));
    if (std::string(argv[i]) == "--steps") steps = std::atoi(argv[i + 1]);
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(Quiet);
  QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  QGuiApplication app(argc, argv);
  QQmlEngine engine;
  QQmlComponent component(&engine);
  component.setData(
      "import QtQuick\nimport QtQuick.Controls\nimport Morlex.Controls\n"
      "ApplicationWindow { width: 420; height: 420; visible: true\n"
      "  Column { DateField { objectName: 'field'; width: 200 } TextField { width: 200 } } }\n",
      QUrl());
  QObject* root = component.create();
  if (root == nullptr) {
    std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
    return 1;
  }
  auto* window = qobject_cast<QQuickWindow*>(root);
  auto* field = root->findChild<QQuickItem*>(QStringLiteral("field"));
  QGuiApplication::processEvents();
  Player player(*window, *field, seed);
  for (int i = 0; i < steps; ++i) {
    if (verbose) std::fprintf(stderr, "step %d\n", i);
    const std::string step = player.Step();
    if (verbose) std::fprintf(stderr, "  %s\n", step.c_str());
    QGuiApplication::processEvents();
    if (const std::string broken = player.Check(); !broken.empty()) {
      std::fprintf(stderr, "step %d (%s), text \"%s\": %s\n", i, step.c_str(),
                   qPrintable(field->property("text").toString()), broken.c_str());
      return 1;
    }
  }
  std::printf("%d steps, seed %u: every invariant held\n", steps, seed);
  delete root;
  return 0;
}
