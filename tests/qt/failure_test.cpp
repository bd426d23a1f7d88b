// The boundary where Qt calls into the control: failures go to a handler, or
// back to a driver's capture, and never further.
#include <gtest/gtest.h>

#include <stdexcept>

#include "morlex/core/error.h"
#include "morlex/qt/failure.h"

namespace morlex::qt {
namespace {

class FailureBoundary : public ::testing::Test {
 protected:
  void TearDown() override { SetFailureHandler(nullptr); }
};

TEST_F(FailureBoundary, DescribesEveryKindOfFailureInOneLine) {
  struct Case {
    std::exception_ptr failure;
    std::string line;
  };
  const Case cases[] = {
      {std::make_exception_ptr(Error(13, "Type mismatch", "MorlexDate.Width")),
       "Type mismatch (MorlexDate.Width)"},
      {std::make_exception_ptr(Error(380, "Invalid property value")), "Invalid property value"},
      {std::make_exception_ptr(std::runtime_error("disk full")), "disk full"},
      {std::make_exception_ptr(42), "unknown failure"},
      {nullptr, "no failure"},
  };
  for (const Case& c : cases) EXPECT_EQ(DescribeFailure(c.failure), c.line);
}

TEST_F(FailureBoundary, ByDefaultAFailureIsOneLineOnStandardError) {
  ::testing::internal::CaptureStderr();
  ReportFailure(
      std::make_exception_ptr(Error(5, "KeyPress 55 caused an error.", "MorlexDate.KeyPress")));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "morlex: KeyPress 55 caused an error. (MorlexDate.KeyPress)\n");
}

TEST_F(FailureBoundary, AnInstalledHandlerTakesThemAndMayItselfFail) {
  std::vector<std::string> seen;
  SetFailureHandler([&](std::exception_ptr f) { seen.push_back(DescribeFailure(f)); });
  Guarded([] { throw std::runtime_error("first"); });
  Guarded([] {});
  EXPECT_EQ(seen, std::vector<std::string>{"first"});

  SetFailureHandler([](std::exception_ptr) { throw std::logic_error("handler broke"); });
  ::testing::internal::CaptureStderr();
  EXPECT_NO_THROW(Guarded([] { throw std::runtime_error("second"); }));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "morlex: failure handler failed: handler broke\n");
}

TEST_F(FailureBoundary, TheInnermostCaptureKeepsTheFirstFailure) {
  int handled = 0;
  SetFailureHandler([&](std::exception_ptr) { ++handled; });
  FailureCapture outer;
  {
    FailureCapture inner;
    Guarded([] { throw Error(1, "one"); });
    Guarded([] { throw Error(2, "two"); });
    EXPECT_TRUE(inner.Failed());
    try {
      inner.Rethrow();
      ADD_FAILURE() << "the capture should rethrow";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), 1);
    }
    EXPECT_FALSE(inner.Failed());
    EXPECT_NO_THROW(inner.Rethrow());
  }
  Guarded([] { throw Error(3, "three"); });
  EXPECT_TRUE(outer.Failed());
  EXPECT_EQ(handled, 0);
}

}  // namespace
}  // namespace morlex::qt
