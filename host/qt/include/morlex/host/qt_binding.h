#pragma once
// The Qt toolkit for the scriptable host and the behaviour tests: controls
// in MorlexDateWidgets, the end user's keys and clicks as synthetic Qt
// events sent to the widgets, and pictures of the surfaces.
//
//   QApplication app(argc, argv);  // QT_QPA_PLATFORM=offscreen without a display
//   auto binding = morlex::qt::MakeQtBinding();
//   morlex::host::ScriptRunner runner(*binding, std::cout);

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "morlex/host/binding.h"

namespace morlex::qt {

// Needs a QApplication; fails with morlex::Error when there is none.
std::unique_ptr<host::Binding> MakeQtBinding();

// Renders the field in each of the four formats (with and without the
// calendar button and the spin indicator), the open calendar and the about
// box to PNG files in folder, at the given device pixel ratio. Returns the
// files written. Needs a QApplication.
std::vector<std::filesystem::path> WriteSnapshots(const std::filesystem::path& folder,
                                                  double device_pixel_ratio = 1.0);

}  // namespace morlex::qt
