// Every host script prints on the Qt Quick field exactly what its .out file says,
// which is what it prints on the headless toolkit.
#include <gtest/gtest.h>

#include "morlex/host/quick_binding.h"
#include "morlex/host/script.h"
#include "script_files.h"

namespace {

MORLEX_SCRIPT_TESTS(QuickScript, PrintsWhatTheHeadlessToolkitPrints,
                    morlex::quick::MakeQuickBinding);

}  // namespace
