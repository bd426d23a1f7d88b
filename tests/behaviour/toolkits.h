#pragma once
// The toolkits every behaviour test runs on, and a fixture that puts one
// control on a Stage of each and records what the control tells its host.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "morlex/host/binding.h"
#include "morlex/host/stage.h"

#ifdef MORLEX_HAVE_QT
#include "morlex/host/qt_binding.h"
#endif
#ifdef MORLEX_HAVE_QUICK
#include "morlex/host/quick_binding.h"
#endif

namespace morlex::testing_support {

struct ToolkitParam {
  std::string name;
  std::function<std::unique_ptr<host::Binding>()> make;
};

inline void PrintTo(const ToolkitParam& param, std::ostream* os) {
  *os << param.name;
}

inline std::vector<ToolkitParam> Toolkits() {
  std::vector<ToolkitParam> toolkits{{"Headless", [] { return host::MakeHeadlessBinding(); }}};
#ifdef MORLEX_HAVE_QT
  toolkits.push_back({"Qt", [] { return qt::MakeQtBinding(); }});
#endif
#ifdef MORLEX_HAVE_QUICK
  toolkits.push_back({"Quick", [] { return quick::MakeQuickBinding(); }});
#endif
  return toolkits;
}

inline std::string ToolkitName(const ::testing::TestParamInfo<ToolkitParam>& info) {
  return info.param.name;
}

using Lines = std::vector<std::string>;

// A fresh control on the toolkit of the parameter, today 2026-12-08.
class StageTest : public ::testing::TestWithParam<ToolkitParam> {
 protected:
  void SetUp() override {
    binding_ = GetParam().make();
    stage_ = std::make_unique<host::Stage>(
        *binding_, [this](const std::string& line) { lines_.push_back(line); });
    stage_->SetToday({2026, 12, 8});
  }
  void TearDown() override {
    stage_.reset();
    binding_.reset();
  }

  host::Stage& Stage() { return *stage_; }
  MorlexDate& Control() { return *stage_->Control(); }
  host::UserInput& Input() { return binding_->Input(); }
  host::Binding& Binding() { return *binding_; }

  // A new control whose text is set, with the lines so far forgotten.
  MorlexDate& NewWithText(std::u16string_view text) {
    Stage().New();
    Control().SetText(text);
    Take();
    return Control();
  }

  // The lines printed since the last Take.
  Lines Take() { return std::exchange(lines_, {}); }

  std::u16string Text() { return Stage().State().text; }

 private:
  std::unique_ptr<host::Binding> binding_;
  std::unique_ptr<host::Stage> stage_;
  Lines lines_;
};

inline int Count(const Lines& lines, const std::string& line) {
  int n = 0;
  for (const auto& l : lines) n += l == line ? 1 : 0;
  return n;
}

}  // namespace morlex::testing_support
