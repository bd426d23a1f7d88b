// A QML form with two date fields and a button that prints their dates.
//
//   morlex-quick-example              the form, on screen
//   morlex-quick-example --play DIR   types, spins and picks in it by itself
//                                     (offscreen without a display), writing
//                                     pictures of each step to DIR
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

void Key(QQuickWindow* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QGuiApplication::sendEvent(window, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QGuiApplication::sendEvent(window, &release);
}

void Type(QQuickWindow* window, const QString& text) {
  for (QChar c : text) Key(window, c.unicode(), Qt::NoModifier, QString(c));
}

bool Shoot(QQuickWindow* window, const QDir& dir, const QString& name) {
  QGuiApplication::processEvents();
  const bool saved = window->grabWindow().save(dir.filePath(name));
  std::printf("%s %s\n", saved ? "picture" : "no picture", qPrintable(dir.filePath(name)));
  return saved;
}

// Plays the user: a date typed into the first field, stepped on by a day,
// then a day picked from the second field's calendar.
int Play(QQuickWindow* window, const QDir& dir) {
  auto* arrival = window->findChild<QQuickItem*>(QStringLiteral("arrival"));
  auto* departure = window->findChild<QQuickItem*>(QStringLiteral("departure"));
  auto* print = window->findChild<QQuickItem*>(QStringLiteral("print"));
  if (arrival == nullptr || departure == nullptr || print == nullptr) return 1;
  bool ok = true;

  arrival->forceActiveFocus();
  Type(window, QStringLiteral("12082026"));
  ok &= Shoot(window, dir, QStringLiteral("quick-typed.png"));
  Key(window, Qt::Key_Left);
  Key(window, Qt::Key_Left);
  Key(window, Qt::Key_Left);
  Key(window, Qt::Key_Left);
  Key(window, Qt::Key_Left);
  Key(window, Qt::Key_Up);  // the day under the caret, one on
  ok &= Shoot(window, dir, QStringLiteral("quick-spun.png"));

  departure->forceActiveFocus();
  // The calendar runs until it is closed: the picking happens meanwhile.
  QTimer::singleShot(50, window, [&] {
    for (int i = 0; i < 4; ++i) Key(window, Qt::Key_Tab);  // round to the days
    ok &= Shoot(window, dir, QStringLiteral("quick-calendar.png"));
    for (int i = 0; i < 7; ++i) Key(window, Qt::Key_Right);
    Key(window, Qt::Key_Space);  // picks the day
  });
  Key(window, Qt::Key_Down, Qt::AltModifier);
  ok &= Shoot(window, dir, QStringLiteral("quick-picked.png"));

  std::printf("arrival %s, departure %s\n", qPrintable(arrival->property("text").toString()),
              qPrintable(departure->property("text").toString()));
  QMetaObject::invokeMethod(print, "clicked");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QString play_dir;
  for (int i = 1; i + 1 < argc; ++i) {
    if (QByteArray(argv[i]) == "--play") play_dir = QString::fromLocal8Bit(argv[i + 1]);
  }
  if (!play_dir.isEmpty()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Pictures the same on every machine, with or without a GPU.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  }
  QGuiApplication app(argc, argv);
  QQmlApplicationEngine engine;
  engine.addImportPath(QStringLiteral(MORLEX_QML_DIR));
  engine.load(QUrl(QStringLiteral("qrc:/Main.qml")));
  if (engine.rootObjects().isEmpty()) return 1;
  auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
  if (window == nullptr) return 1;
  if (play_dir.isEmpty()) return QGuiApplication::exec();
  QDir dir;
  if (!dir.mkpath(play_dir)) return 1;
  window->show();
  QGuiApplication::processEvents();
  return Play(window, QDir(play_dir));
}
