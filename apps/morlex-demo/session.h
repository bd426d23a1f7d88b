#pragma once
// A short scripted session on the demo's form, played with synthetic keys
// and clicks as a user would give them: typing, spinning, a calendar pick, a
// save, an invalid date, a refused date, a storage failure, the properties
// panel, the design in property-bag files and design mode, the about box,
// and the same file opened read-only. Writes a PNG of the form after each
// step, prints what happened and where the pictures are, and checks as it
// goes that the file and the form hold what they should.

#include <filesystem>
#include <ostream>

#include "main_window.h"

namespace morlex::demo {

struct SessionOptions {
  std::filesystem::path shots;  // created if missing
};

// Plays the session on window (shown, non-interactive). Returns 0 when every
// check held, 1 otherwise. Never throws.
int RunScriptedSession(MainWindow& window, RecordStore& store, const SessionOptions& options,
                       std::ostream& out);

}  // namespace morlex::demo
