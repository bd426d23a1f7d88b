// morlex-quick-bench: the Qt Quick field against what a QML developer would
// otherwise write, each given the same synthetic events, untimed (for
// counting instructions under callgrind; bench/quick-instructions.sh).
//
//   morlex-quick-bench keys datefield|textfield ROUNDS    whole dates typed
//   morlex-quick-bench create datefield|textfield COUNT   COUNT fields made
//   morlex-quick-bench popup datefield|monthgrid TIMES    the calendar opened
//                                                         and closed TIMES times
//
// An opening counts from the key (ours) or the call to open() (the peer's)
// until a frame with the popup has been drawn, then its closing until a frame
// without it has been drawn: both sides draw exactly two frames an opening,
// whatever the timers of the run did. Each window holds a field under the
// popup (ours, or a TextField of the same date beside the peer's popup), which
// a modal popup's dimming draws again. Each side's popup is made once and
// kept: the peer's with the scene, ours on its first opening (the difference
// of two runs leaves either out); ours still makes its calendar form, the
// field's logic, at every opening.
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

void qml_register_types_Morlex_Controls();

namespace {

void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
  }
}

void Key(QQuickWindow& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QGuiApplication::sendEvent(&window, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QGuiApplication::sendEvent(&window, &release);
}

// Runs the events until window has drawn a frame.
void UntilDrawn(QQuickWindow& window) {
  QEventLoop loop;
  QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
  window.update();
  loop.exec();
}

struct Scene {
  QQmlEngine engine;
  std::unique_ptr<QQuickWindow> window;
  QObject* root = nullptr;

  explicit Scene(const QByteArray& qml) {
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(&engine);
    component.setData(qml, QUrl());
    root = component.create();
    if (root == nullptr) {
      std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
      std::exit(1);
    }
    window.reset(qobject_cast<QQuickWindow*>(root));
    window->show();
    QGuiApplication::processEvents();
  }
};

QByteArray WindowWith(const QByteArray& body) {
  return "import QtQuick\nimport QtQuick.Controls\nimport Morlex.Controls\n"
         "ApplicationWindow { width: 400; height: 400\n" +
         body + "\n}\n";
}

int Keys(std::string_view variant, int rounds) {
  Scene scene(WindowWith(variant == "datefield" ? "DateField { id: f; objectName: 'f' }"
                                                : "TextField { id: f; objectName: 'f' }"));
  auto* field = scene.root->findChild<QQuickItem*>(QStringLiteral("f"));
  field->forceActiveFocus();
  for (int r = 0; r < rounds; ++r) {
    for (char c : std::string_view("12082026")) {
      Key(*scene.window, c, Qt::NoModifier, QString(QChar(c)));
    }
    field->setProperty("text", QString());
  }
  return 0;
}

int Create(std::string_view variant, int count) {
  Scene scene(WindowWith(
      QByteArray("Column { id: column; objectName: 'column' }\n") + "Component { id: made; " +
      (variant == "datefield" ? "DateField {} }" : "TextField {} }") +
      "\nfunction make(n) { for (let i = 0; i < n; ++i) made.createObject(column) }"));
  QMetaObject::invokeMethod(scene.root, "make", Q_ARG(QVariant, count));
  QGuiApplication::processEvents();
  return 0;
}

int Popup(std::string_view variant, int times) {
  if (variant == "datefield") {
    Scene scene(WindowWith("DateField { objectName: 'f'; date: new Date(2026, 11, 8) }"));
    auto* field = scene.root->findChild<QQuickItem*>(QStringLiteral("f"));
    field->forceActiveFocus();
    for (int i = 0; i < times; ++i) {
      // The popup runs until it is closed: it is closed once it is drawn.
      QTimer::singleShot(0, scene.window.get(), [&] {
        UntilDrawn(*scene.window);
        Key(*scene.window, Qt::Key_Escape);
      });
      Key(*scene.window, Qt::Key_Down, Qt::AltModifier);
      UntilDrawn(*scene.window);
    }
    return 0;
  }
  Scene scene(
      WindowWith("TextField { text: '12/08/2026' }\n"
                 "Popup { id: p; objectName: 'p'; modal: true; focus: true\n"
                 "  contentItem: Column { DayOfWeekRow { width: 200 }\n"
                 "    MonthGrid { width: 200; height: 160; month: 11; year: 2026 } } }"));
  auto* popup = scene.root->findChild<QObject*>(QStringLiteral("p"));
  for (int i = 0; i < times; ++i) {
    QMetaObject::invokeMethod(popup, "open");
    UntilDrawn(*scene.window);
    QMetaObject::invokeMethod(popup, "close");
    UntilDrawn(*scene.window);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietMessages);
  QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  QGuiApplication app(argc, argv);
  qml_register_types_Morlex_Controls();
  const std::string_view mode = argc > 1 ? argv[1] : "";
  const std::string_view variant = argc > 2 ? argv[2] : "";
  const int n = argc > 3 ? std::atoi(argv[3]) : 10;
  if (mode == "keys") return Keys(variant, n);
  if (mode == "create") return Create(variant, n);
  if (mode == "popup") return Popup(variant, n);
  std::fprintf(stderr,
               "usage: %s keys|create datefield|textfield N | popup datefield|monthgrid N\n",
               argv[0]);
  return 2;
}
