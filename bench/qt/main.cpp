// morlex-qt-bench: the field on Qt measured against what a Qt developer
// would otherwise put on a form, on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
//
//   morlex-qt-bench keys [benchmark flags]        one typed digit, end to end
//   morlex-qt-bench keys-count VARIANT [ROUNDS]   whole dates typed, untimed
//       VARIANT: morlex | qlineedit | qdateedit   (for callgrind)
//   morlex-qt-bench form VARIANT [FIELDS]         a form of FIELDS fields
//       VARIANT: morlex | qdateedit | qlineedit   (run each in its own process;
//                morlex-plain: the field without calendar button and spin)
//   morlex-qt-bench calendar VARIANT [TIMES]      opening the calendar
//       VARIANT: morlex | qcalendarwidget
//   morlex-qt-bench table VARIANT MEASURE [ROUNDS]  a QTableView of 100,000 dates
//       VARIANT: morlex (MorlexDateDelegate) | qdate (Qt's default delegate) |
//                empty (Qt's default delegate, an empty widget for editor)
//       MEASURE: paint (the viewport) | scroll (one page) | open (the editor)
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "harness.h"

namespace {

// The offscreen platform's notices (no window manager, no runtime folder)
// would be mixed into the figures; only real failures are shown.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietMessages);
  QApplication app(argc, argv);
  namespace q = morlex::bench::qt;
  const std::string_view mode = argc > 1 ? argv[1] : "";
  const std::string_view variant = argc > 2 ? argv[2] : "";
  if (mode == "keys") return q::RunKeys(argc - 1, argv + 1);
  if (mode == "keys-count") return q::CountKeys(variant, q::ArgNumber(argc, argv, 3, 100));
  if (mode == "form") return q::RunForm(variant, q::ArgNumber(argc, argv, 3, 1000));
  if (mode == "calendar") return q::RunCalendar(variant, q::ArgNumber(argc, argv, 3, 50));
  if (mode == "table") {
    return q::RunTable(variant, argc > 3 ? argv[3] : "", q::ArgNumber(argc, argv, 4, 50));
  }
  std::fprintf(
      stderr,
      "usage: %s keys [benchmark flags] | keys-count morlex|qlineedit|qdateedit [ROUNDS] | form "
      "morlex|morlex-plain|qdateedit|qlineedit [FIELDS] |"
      " calendar morlex|qcalendarwidget [TIMES] | table morlex|qdate|empty paint|scroll|open "
      "[ROUNDS]\n",
      argv[0]);
  return 2;
}
