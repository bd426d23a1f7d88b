// Runs the tst_*.qml files of the folder given by -input.
#include <QtQuickTest/quicktest.h>

QUICK_TEST_MAIN(morlex_quick)
