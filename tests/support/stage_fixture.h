#pragma once
// A control on the headless toolkit in a test host, with everything it tells
// the host recorded as the lines morlex-host prints ("notify Text",
// "event DateChanged", "event DateError source=... custom=...").

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "morlex/host/binding.h"
#include "morlex/host/stage.h"

namespace morlex::testing {

class StageTest : public ::testing::Test {
 protected:
  StageTest()
      : binding_(host::MakeHeadlessBinding()),
        stage_(*binding_, [this](const std::string& line) { lines_.push_back(line); }) {
    stage_.SetToday({2026, 12, 8});
  }

  // A new control (first-time initialisation and the first resize), with
  // the text set and the record cleared.
  MorlexDate& NewWithText(std::u16string_view text) {
    MorlexDate& c = stage_.New();
    c.SetText(text);
    lines_.clear();
    return c;
  }

  // The lines recorded since the last call, then forgets them.
  std::vector<std::string> Take() { return std::exchange(lines_, {}); }

  std::u16string Text() { return stage_.State().text; }

  std::unique_ptr<host::Binding> binding_;
  host::Stage stage_;
  std::vector<std::string> lines_;
};

}  // namespace morlex::testing
