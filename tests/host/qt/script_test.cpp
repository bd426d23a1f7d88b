// Every host script prints on the Qt widgets exactly what its .out file says,
// which is what it prints on the headless toolkit.
#include <gtest/gtest.h>

#include "morlex/host/qt_binding.h"
#include "morlex/host/script.h"
#include "script_files.h"

namespace {

MORLEX_SCRIPT_TESTS(QtScript, PrintsWhatTheHeadlessToolkitPrints, morlex::qt::MakeQtBinding);

}  // namespace
