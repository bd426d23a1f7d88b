#pragma once
// What the Qt tests' fixtures share: the failures that reach the Qt boundary,
// kept for the test to look at, and fields on a toolkit of the fixture's own
// on the day the tests assume.

#include <gtest/gtest.h>

#include <QWidget>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "morlex/platform/clock.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"

namespace morlex::qt {

// Keeps the description of every failure reported while the test runs.
class KeepsFailures : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFailureHandler([this](std::exception_ptr f) { failures_.push_back(DescribeFailure(f)); });
  }
  void TearDown() override { SetFailureHandler(nullptr); }

  std::vector<std::string> failures_;
};

// Fields on today 2026-12-08; the toolkit outlives every field of the test.
class FieldTest : public KeepsFailures {
 protected:
  // A field initialised by the host.
  std::unique_ptr<MorlexDateWidget> Field(QWidget* parent = nullptr) {
    auto field = std::make_unique<MorlexDateWidget>(
        toolkit_, MorlexDateWidget::Startup::kHostInitialises, parent);
    field->setClock(&clock_);
    field->initProperties();
    return field;
  }

  Toolkit toolkit_;
  platform::FixedClock clock_{{2026, 12, 8}};
};

}  // namespace morlex::qt
