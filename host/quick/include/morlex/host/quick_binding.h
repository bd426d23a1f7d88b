#pragma once
// The Qt Quick toolkit for the scriptable host and the behaviour tests:
// controls in DateFields made by a QML engine from `import Morlex.Controls`,
// the end user's keys as synthetic Qt events sent to the field, and the
// calendar driven through the same view its popup shows.
//
//   QGuiApplication app(argc, argv);  // QT_QPA_PLATFORM=offscreen without a display
//   auto binding = morlex::quick::MakeQuickBinding();
//   morlex::host::ScriptRunner runner(*binding, std::cout);

#include <memory>

#include "morlex/host/binding.h"

namespace morlex::quick {

// Needs a QGuiApplication; fails with morlex::Error when there is none.
std::unique_ptr<host::Binding> MakeQuickBinding();

}  // namespace morlex::quick
