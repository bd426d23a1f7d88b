#pragma once
// A field in a host and on a toolkit that fail on demand, with the end user
// in front of it, and the checks every failure must pass: the control's
// state stays whole, and once the faults are gone the field works as ever.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fault_plan.h"
#include "faulty_toolkit.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/unicode.h"
#include "morlex/host/stage.h"

namespace morlex::testing_support {

struct ReportedError {
  std::int32_t number = 0;
  std::string description;
  std::string source;
  std::string custom;
};

class ErrorLog final : public MorlexDateEvents {
 public:
  void DateError(ErrObject& objErr, std::u16string& strCustom) override {
    errors.push_back({objErr.number, objErr.description, objErr.source, ToUtf8(strCustom)});
  }
  std::vector<ReportedError> errors;
};

class FaultyField {
 public:
  FaultyField()
      : binding_(plan),
        stage_(binding_, [this](const std::string& line) { lines.push_back(line); }) {
    stage_.SetToday({2026, 12, 8});
  }

  // A new field (initialised and given its first size) holding text, with
  // the caret remembered at `caret` and the record cleared.
  MorlexDate& New(std::u16string_view text = u"01/05/1999", int caret = 0) {
    MorlexDate& c = stage_.New();
    Listen();
    c.SetText(text);
    if (caret > 0) stage_.Click(caret);
    c.SetSelStart(caret);
    lines.clear();
    log->errors.clear();
    return c;
  }
  // A new field whose creation or initialisation may fail; the log listens
  // to it either way.
  void Renew() {
    try {
      stage_.New();
    } catch (...) {
      Listen();
      throw;
    }
    Listen();
  }
  // Connects the error log to the current control.
  void Listen() {
    log = std::make_shared<ErrorLog>();
    stage_.Control()->Advise(log);
  }

  MorlexDate& Control() { return *stage_.Control(); }
  host::Stage& Stage() { return stage_; }
  std::u16string Text() { return Control().Text(); }
  int LiveForms() { return binding_.Toolkit().Inner().LiveForms(); }
  const platform::UpDown& Spin() { return Control().ControlSurface().GetUpDown("spinCTL"); }

  // The text box's caret and selection lie inside its text, and the spin
  // indicator is at rest.
  void ExpectWhole() {
    const int size = static_cast<int>(Text().size());
    const int start = Control().SelStart();
    const int length = Control().SelLength();
    EXPECT_TRUE(start >= 0 && length >= 0 && start + length <= size)
        << start << "+" << length << " in " << ToUtf8(Text());
    EXPECT_EQ(Spin().Value(), 0);
    EXPECT_EQ(LiveForms(), 0);
  }

  // With the faults gone, the field types, spins, lays out and commits as a
  // sound one does, and reports nothing.
  void ExpectRecovered() {
    plan.Clear();
    stage_.Policy().fail_notify = false;
    log->errors.clear();
    MorlexDate& c = Control();
    c.SetDateFormat(0);
    c.SetText(u"");
    stage_.Type(u"0105199");
    stage_.Type(u"9");
    EXPECT_EQ(Text(), u"01/05/1999");
    stage_.Click(1);
    stage_.Spin(true);
    EXPECT_EQ(Text(), u"02/05/1999");
    c.SetText(u"1/5/99");
    stage_.Blur(host::BlurTarget::kOutside);
    EXPECT_EQ(Text(), u"01/05/1999");
    stage_.HostResize(3000, 20);
    float width = 0;
    float height = 0;
    const auto boxes = stage_.Layout(width, height);
    EXPECT_EQ(height, 315);
    EXPECT_EQ(boxes[0].width, c.Calendar() ? 2700 : 3000);
    EXPECT_TRUE(log->errors.empty());
  }

  FaultPlan plan;
  std::vector<std::string> lines;
  std::shared_ptr<ErrorLog> log = std::make_shared<ErrorLog>();

 private:
  FaultyBinding binding_;
  host::Stage stage_;
};

}  // namespace morlex::testing_support
