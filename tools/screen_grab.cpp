// Writes a PNG of the X screen, or of a part of it:
//   screen_grab FILE [X Y WIDTH HEIGHT]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 2 && argc != 6) {
    std::fprintf(stderr, "usage: screen_grab FILE [X Y WIDTH HEIGHT]\n");
    return 2;
  }
  QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
  if (argc == 6) {
    shot =
        shot.copy(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  }
  return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
