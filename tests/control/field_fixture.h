#pragma once
// A MorlexDate in a host on the headless toolkit, with the end user in front
// of it: every notice and event the host sees is kept as a line, in order,
// exactly as morlex-host prints it.

#include <memory>
#include <string>
#include <vector>

#include "morlex/control/morlex_date.h"
#include "morlex/core/unicode.h"
#include "morlex/host/binding.h"
#include "morlex/host/stage.h"

namespace morlex::testing_support {

// Keeps the error records of DateError, which the printed lines leave out.
class ErrorRecorder final : public MorlexDateEvents {
 public:
  void DateError(ErrObject& objErr, std::u16string& strCustom) override {
    errors.push_back(objErr);
    customs.push_back(ToUtf8(strCustom));
  }
  std::vector<ErrObject> errors;
  std::vector<std::string> customs;
};

class Field {
 public:
  explicit Field(int date_format = 0)
      : binding_(host::MakeHeadlessBinding()),
        stage_(*binding_, [this](const std::string& line) { lines.push_back(line); }) {
    stage_.SetToday({2026, 12, 8});
    stage_.New();
    recorder = std::make_shared<ErrorRecorder>();
    Control().Advise(recorder);
    if (date_format != 0) Control().SetDateFormat(date_format);
    lines.clear();
  }

  MorlexDate& Control() { return *stage_.Control(); }
  host::Stage& Stage() { return stage_; }
  headless::HostPolicy& Policy() { return stage_.Policy(); }

  // Puts text into the field as the program would, the caret at `caret`
  // with `length` characters selected, without a key release (so the
  // remembered caret stays), and forgets the lines this printed.
  void Given(std::u16string_view text, int caret = 0, int length = 0) {
    Control().SetText(text);
    Control().SetSelStart(caret);
    Control().SetSelLength(length);
    lines.clear();
  }
  // The user clicks at position (remembering it as the caret).
  void ClickAt(int position) {
    stage_.Click(position);
    lines.clear();
  }

  std::u16string Text() { return Control().Text(); }
  int Caret() { return Control().SelStart(); }

  std::vector<std::string> lines;
  std::shared_ptr<ErrorRecorder> recorder;

 private:
  std::unique_ptr<host::Binding> binding_;
  host::Stage stage_;
};

inline std::string U8(std::u16string_view s) {
  return ToUtf8(s);
}

}  // namespace morlex::testing_support
