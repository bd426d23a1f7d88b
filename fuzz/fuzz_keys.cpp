// One field on the headless toolkit, played by a random end user and a
// random host: keys, caret moves, selections, clicks, double-clicks, spins,
// focus changes, calendar pickings and property writes, decoded from the
// input (see byte_script.h). After every step the field must be sound:
//  - nothing escapes a user action, except the host's own failure to store
//    the value while it fails on purpose; property writes fail only with
//    the project's Error, and only for a reason;
//  - caret and selection lie inside the text, and DateIsValid agrees with
//    the text;
//  - a typed key takes the text past 11 characters only by the field's own
//    separator or overwrite, one character in place of the key;
//  - DateError comes only from the five trapped procedures, and from a sound
//    host only for a spin out of the years;
//  - committing (leaving the field, Enter) keeps the date the text reads as,
//    and leaves a text that is no date as it was; DateInvalid comes exactly
//    when the committed text is neither blank nor a date;
//  - clicks and caret moves never change the text; a spin changes it only
//    into a date; every change of the text raises DateChanged.
//
// Actions (letters; the arguments follow):
//   k C  type key C             u H L  type the UTF-16 unit H*256+L
//   c P L  caret to P selecting L       l P  click at P    D  double-click
//   + -  spin up / down         b  leave the field      s / K  focus to the
//   spin / calendar button      f  focus into the field
//   T text;  Text =             F N  DateFormat =       S N / L N  SelStart /
//   SelLength =                 X text;  SelText =      C B / P B / E B
//   Calendar / Spin / Enabled = W N / H N  Width / Height = N * 50
//   w text;  Width = a string   R W H  the host resizes  V  the host shows
//   h X  host: c can-change, n fail to store, l lock the height at 30
//   r N  the host's handlers call back into the field (see Record; 0 stops)
//   G text;  the host loads a new field from a bag holding the current text and
//        text as the stored date pattern, kept as it is even when it is none of
//        the four
//   O actions;  open the calendar and act in it (see DialogAction)
//   Z    the host saves the field to a bag file and opens it again
//   Y N  DateOrder = N          Q text;  DateSeparator = (both refuse a value
//        they do not know, and then the field reads as before)
//   A B  open the about box; close it by its button (B odd) or the window
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "byte_script.h"
#include "morlex/core/date_format.h"
#include "morlex/core/date_layout.h"
#include "morlex/core/date_text.h"
#include "morlex/core/error.h"
#include "morlex/core/unicode.h"
#include "morlex/headless/host.h"
#include "morlex/headless/property_bag.h"
#include "morlex/host/binding.h"
#include "morlex/host/stage.h"
#include "morlex/storage/property_bag_file.h"

namespace {

using morlex::Date;
using morlex::MorlexDate;
using morlex::fuzz::ByteScript;

constexpr int kYear = 2026;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

std::string U8(const std::u16string& s) {
  std::string out;
  for (char16_t ch : s) {
    if (ch >= 0x20 && ch < 0x7F) {
      out.push_back(static_cast<char>(ch));
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(ch));
      out += buf;
    }
  }
  return out;
}

struct Record final : morlex::MorlexDateEvents {
  MorlexDate* control = nullptr;
  // What the host's handlers do to the field while it raises an event:
  // 0 nothing, 1 read it and move the caret to the end, 2 change the date
  // format (which renders the text again), 3 put a date of its own in.
  int reenter = 0;
  int depth = 0;
  int changed = 0;
  int invalid = 0;
  std::vector<std::string> sources;

  void DateChanged() override {
    ++changed;
    if (reenter == 0 || depth > 0 || control == nullptr) return;
    ++depth;
    if (reenter == 1) {
      const auto length = static_cast<std::int32_t>(control->Text().size());
      (void)control->DateIsValid();
      control->SetSelStart(length);
    } else if (reenter == 2) {
      control->SetDateFormat(changed % 4);
    } else {
      control->SetText(u"2/29/2000");
    }
    --depth;
  }
  void DateInvalid() override { ++invalid; }
  void DateError(morlex::ErrObject& err, std::u16string& custom) override {
    sources.push_back(err.source);
    custom.clear();  // the host may change both arguments
    err.description = "changed by the host";
    if (reenter != 0 && depth == 0 && control != nullptr) {
      ++depth;
      control->SetText(u"");
      --depth;
    }
  }
};

bool KnownSource(const std::string& source) {
  return source == "MorlexDate.FormatTheDate" || source == "MorlexDate.ValidateAndUpdate" ||
         source == "MorlexDate.cmdCalendar_Click" || source == "MorlexDate.SpinTheDate" ||
         source == "MorlexDate.KeyPress";
}

// The empty pattern or one of the four; a loaded setting may hold any other.
bool StandardPattern(std::u16string_view pattern) {
  return pattern.empty() || pattern == u"mm/dd/yyyy" || pattern == u"mm/dd/yy" ||
         pattern == u"m/d/yyyy" || pattern == u"m/d/yy";
}

enum class Kind {
  kKey,        // a typed key other than Enter
  kCommitKey,  // Enter or the key with code 0
  kLeave,      // the focus leaves the field
  kStill,      // an action that must not change the text
  kSpin,
  kCalendar,
  kWrite,  // a property write
  kHost,   // a host action
};

class Session {
 public:
  explicit Session(ByteScript& in) : in_(in), binding_(morlex::host::MakeHeadlessBinding()) {
    stage_ = std::make_unique<morlex::host::Stage>(*binding_);
    stage_->SetToday({kYear, 12, 8});
    control_ = &stage_->New();
    record_ = std::make_shared<Record>();
    record_->control = control_;
    control_->Advise(record_);
  }

  void Run() {
    for (int step = 0; !in_.Done() && step < 400; ++step) Step(step);
  }

 private:
  morlex::headless::HostPolicy& Policy() { return stage_->Policy(); }

  void Step(int step) {
    const std::u16string before = control_->Text();
    const bool enabled = control_->Enabled();
    const bool standard_before = StandardPattern(control_->DatePattern());
    const bool host_fails = Policy().fail_notify;
    const std::size_t errors_before = record_->sources.size();
    const int changed_before = record_->changed;
    const int invalid_before = record_->invalid;
    std::string action;
    Kind kind = Kind::kStill;
    bool may_fail = false;  // a property write with an argument it may refuse
    try {
      kind = Act(action, may_fail);
    } catch (const morlex::Error& e) {
      const bool store_failure = host_fails && e.description() == morlex::headless::kStoreFailure;
      if (!store_failure && !may_fail) {
        Fail("step " + std::to_string(step) + " (" + action + "): Error " +
             std::to_string(e.number()) + " " + e.description());
      }
      // A refused order or separator keeps the field as it was. A host that
      // fails to store a value it was told of fails after the value was taken,
      // as for every other property.
      if (!store_failure &&
          (action.starts_with("set DateOrder") || action.starts_with("set DateSeparator"))) {
        if (control_->Text() != before)
          Fail("step " + std::to_string(step) + ": refused " + action);
      }
      // A failure past the trapped procedures leaves nothing to compare.
      CheckShape(step, action, before, kind, standard_before);
      return;
    } catch (const std::exception& e) {
      Fail("step " + std::to_string(step) + " (" + action + "): " + e.what());
    }
    CheckShape(step, action, before, kind, standard_before);

    const std::u16string after = control_->Text();
    const std::string where =
        "step " + std::to_string(step) + " (" + action + ") " + U8(before) + " -> " + U8(after);
    for (std::size_t i = errors_before; i < record_->sources.size(); ++i) {
      const std::string& source = record_->sources[i];
      if (!KnownSource(source)) Fail(where + ": DateError from " + source);
      if (!host_fails && source != "MorlexDate.SpinTheDate") {
        Fail(where + ": DateError from " + source + " with a sound host");
      }
    }
    // A failed store may stop anywhere, and a host that changes the field from
    // its handlers makes the text its own.
    if (host_fails || record_->reenter != 0) return;

    const int changes = record_->changed - changed_before;
    const int invalids = record_->invalid - invalid_before;
    if (after != before && changes == 0) Fail(where + ": no DateChanged");
    const bool acted = enabled || kind == Kind::kLeave;
    const bool standard = StandardPattern(control_->DatePattern());
    switch (kind) {
      case Kind::kCommitKey:
      case Kind::kLeave:
        if (!acted) break;
        CheckCommitted(where, before, after);
        if (invalids != (Invalid(after) ? 1 : 0)) Fail(where + ": DateInvalid count");
        break;
      case Kind::kStill:
        if (after != before) Fail(where + ": text changed");
        break;
      case Kind::kSpin:
        if (after != before && standard && !IsDate(after)) {
          Fail(where + ": spun to no date");
        }
        if (record_->sources.size() > errors_before && after != before) {
          Fail(where + ": a failed spin changed the text");
        }
        break;
      case Kind::kCalendar:
        if (after != before && standard && !IsDate(after)) {
          Fail(where + ": picked no date");
        }
        break;
      default:
        break;
    }
    if (kind != Kind::kCommitKey && kind != Kind::kLeave && invalids != 0) {
      Fail(where + ": DateInvalid outside a commit");
    }
  }

  // Dates as the field reads them, in its layout.
  std::optional<Date> Read(const std::u16string& text) const {
    return morlex::ReadDateText(text, kYear, control_->Layout());
  }
  bool IsDate(const std::u16string& text) const { return Read(text).has_value(); }

  bool Invalid(const std::u16string& text) const {
    return !morlex::TrimBlanks(text).empty() && !IsDate(text);
  }

  void CheckCommitted(const std::string& where, const std::u16string& before,
                      const std::u16string& after) {
    const auto was = Read(before);
    if (!was) {
      if (after != before) Fail(where + ": a text that is no date was changed");
      return;
    }
    const std::u16string& pattern = control_->DatePattern();
    if (pattern.empty()) {
      if (after != before) Fail(where + ": changed under the empty pattern");
      return;
    }
    if (after != morlex::FormatDate(*was, control_->RenderPattern())) {
      Fail(where + ": not in the pattern");
    }
    if (!StandardPattern(pattern)) return;  // "mmmm d" reads as no date again
    const auto now = Read(after);
    if (!now) Fail(where + ": the date was lost");
    const bool keeps_year =
        morlex::YearLength(control_->DateFormat()) == 4 || (was->year >= 1930 && was->year <= 2029);
    if (keeps_year && *now != *was) Fail(where + ": the date moved");
  }

  void CheckShape(int step, const std::string& action, const std::u16string& before, Kind kind,
                  bool standard_before) {
    const std::u16string text = control_->Text();
    const int size = static_cast<int>(text.size());
    const int start = control_->SelStart();
    const int length = control_->SelLength();
    const std::string where =
        "step " + std::to_string(step) + " (" + action + ") " + U8(before) + " -> " + U8(text);
    if (start < 0 || length < 0 || start + length > size) {
      Fail(where + ": selection " + std::to_string(start) + "+" + std::to_string(length));
    }
    if (control_->DateIsValid() != IsDate(text)) Fail(where + ": DateIsValid");
    // Enter renders the text, which a stored pattern such as "mmmm dd, yyyy"
    // may make as long as it likes.
    const bool limited = kind == Kind::kKey || (kind == Kind::kCommitKey && standard_before &&
                                                StandardPattern(control_->DatePattern()));
    if (limited && text.size() > std::max<std::size_t>(before.size() + 1, 11)) {
      Fail(where + ": typed past 11 characters by more than the field's own rewrite");
    }
    const morlex::platform::UpDown& spin = control_->ControlSurface().GetUpDown("spinCTL");
    if (spin.Value() != 0) Fail(where + ": the spin indicator did not come back to rest");
  }

  Kind Key(char16_t key, std::string& action) {
    action = "key " + std::to_string(static_cast<int>(key));
    stage_->Key(key);
    return key == u'\r' || key == 0 ? Kind::kCommitKey : Kind::kKey;
  }

  Kind Act(std::string& action, bool& may_fail) {
    const std::uint8_t op = in_.Byte();
    switch (op) {
      case 'k':
        return Key(static_cast<char16_t>(in_.Byte()), action);
      case 'u': {
        const int high = in_.Byte();
        return Key(static_cast<char16_t>(high << 8 | in_.Byte()), action);
      }
      case 'c': {
        const int p = in_.Small();
        const int l = in_.Small();
        action = "caret " + std::to_string(p) + " " + std::to_string(l);
        stage_->Caret(p, l);
        return Kind::kStill;
      }
      case 'l': {
        const int p = in_.Small();
        action = "click " + std::to_string(p);
        stage_->Click(p);
        return Kind::kStill;
      }
      case 'D':
        action = "dblclick";
        stage_->DblClick();
        return Kind::kStill;
      case '+':
      case '-':
        action = op == '+' ? "spin up" : "spin down";
        stage_->Spin(op == '+');
        return Kind::kSpin;
      case 'b':
        action = "blur";
        stage_->Blur(morlex::host::BlurTarget::kOutside);
        return Kind::kLeave;
      case 's':
        action = "blur spin";
        stage_->Blur(morlex::host::BlurTarget::kSpin);
        return Kind::kStill;
      case 'K':
        action = "blur calendar";
        stage_->Blur(morlex::host::BlurTarget::kCalendar);
        return Kind::kStill;
      case 'f':
        action = "focus";
        stage_->Focus();
        return Kind::kStill;
      case 'T': {
        const std::u16string text = in_.Text();
        action = "set Text " + U8(text);
        control_->SetText(text);
        return Kind::kWrite;
      }
      case 'F': {
        const int format = in_.Signed();
        action = "set DateFormat " + std::to_string(format);
        control_->SetDateFormat(format);
        return Kind::kWrite;
      }
      case 'Y': {
        const int order = in_.Signed();
        action = "set DateOrder " + std::to_string(order);
        may_fail = !morlex::DateOrderOf(order);
        control_->SetDateOrder(order);
        return Kind::kWrite;
      }
      case 'Q': {
        const std::u16string separator = in_.Text(2);
        action = "set DateSeparator " + U8(separator);
        may_fail = !morlex::DateSeparatorOf(separator);
        control_->SetDateSeparator(separator);
        return Kind::kWrite;
      }
      case 'S':
      case 'L': {
        const int value = in_.Signed();
        action =
            std::string(op == 'S' ? "set SelStart " : "set SelLength ") + std::to_string(value);
        may_fail = value < 0;  // a negative position is an invalid value
        if (op == 'S') {
          control_->SetSelStart(value);
        } else {
          control_->SetSelLength(value);
        }
        return Kind::kWrite;
      }
      case 'X': {
        const std::u16string text = in_.Text(12);
        action = "set SelText " + U8(text);
        control_->SetSelText(text);
        return Kind::kWrite;
      }
      case 'C':
        action = "set Calendar";
        control_->SetCalendar(in_.Flag());
        return Kind::kWrite;
      case 'P':
        action = "set Spin";
        control_->SetSpin(in_.Flag());
        return Kind::kWrite;
      case 'E':
        action = "set Enabled";
        control_->SetEnabled(in_.Flag());
        return Kind::kWrite;
      case 'W':
      case 'H': {
        const float value = static_cast<float>(in_.Signed()) * 50.0F;
        action = std::string(op == 'W' ? "set Width " : "set Height ") + std::to_string(value);
        if (op == 'W') {
          control_->SetWidth(value);
        } else {
          control_->SetHeight(value);
        }
        return Kind::kWrite;
      }
      case 'w': {
        const std::u16string text = in_.Text(12);
        action = "set Width " + U8(text);
        may_fail = true;  // a string that is not a number does not convert
        control_->SetWidth(text);
        return Kind::kWrite;
      }
      case 'R': {
        const float w = static_cast<float>(in_.Signed()) * 50.0F;
        const float h = static_cast<float>(in_.Signed()) * 10.0F;
        action = "resize";
        stage_->HostResize(w, h);
        return Kind::kHost;
      }
      case 'V':
        action = "show";
        stage_->HostShow();
        return Kind::kHost;
      case 'h': {
        const std::uint8_t what = in_.Byte();
        action = "host";
        if (what == 'c') {
          Policy().can_change = !Policy().can_change;
        } else if (what == 'n') {
          Policy().fail_notify = !Policy().fail_notify;
        } else if (what == 'l') {
          if (Policy().lock_height) {
            Policy().lock_height.reset();
          } else {
            Policy().lock_height = 30.0F;
          }
        }
        return Kind::kHost;
      }
      case 'r':
        action = "reenter";
        record_->reenter = in_.Byte() % 4;
        return Kind::kHost;
      case 'O':
        action = "calendar";
        stage_->ClickCalendar([this](morlex::host::DialogUser& user) {
          while (!in_.Done() && user.Shown()) {
            if (Peek() == ';') {
              in_.Byte();
              break;
            }
            morlex::fuzz::DialogAction(in_, user);
          }
        });
        return Kind::kCalendar;
      case 'G': {
        morlex::headless::MemoryPropertyBag bag;
        bag.Set("Text", control_->Text());
        bag.Set("DateFormat", in_.Text(16));
        action =
            "load with the pattern " + U8(std::get<std::u16string>(bag.Values().at("DateFormat")));
        control_ = &stage_->Load(bag);
        record_->control = control_;
        control_->Advise(record_);
        return Kind::kHost;
      }
      case 'Z': {
        action = "save and load";
        SaveAndLoad();
        return Kind::kHost;
      }
      case 'A': {
        action = "about";
        const bool by_button = in_.Flag();
        stage_->About([by_button](morlex::host::DialogUser& user) {
          if (by_button) {
            user.PressButton("cmdClose");
          } else {
            user.Close();
          }
        });
        return Kind::kStill;
      }
      default: {
        // Other bytes type the keys a user types most.
        static constexpr char16_t kKeys[] = u"0123456789//\b\r.";
        return Key(kKeys[op % (std::size(kKeys) - 1)], action);
      }
    }
  }

  // The host saves the field to a bag file and opens a new field from it:
  // the text comes back exactly, and so does every setting (the text box's
  // width and the spin indicator's left edge are written only for show and
  // follow from the layout).
  void SaveAndLoad() {
    // A size the host kept below the minimum height never went through the
    // layout pass, which corrects it when the stored size is applied again
    // (a width narrower than the calendar button becomes the default width,
    // a height under the minimum the default height): such a size is
    // derived on loading, like the text box's width.
    const float saved_width = morlex::platform::ToSingle(control_->Width());
    const float saved_height = morlex::platform::ToSingle(control_->Height());
    const bool width_corrected = saved_width - 300.0F < 0.0F;
    const bool height_corrected = saved_height < 46.0F;
    morlex::storage::FilePropertyBag saved;
    control_->WriteProperties(saved);
    const std::string file = saved.Serialize();
    morlex::storage::FilePropertyBag stored = morlex::storage::FilePropertyBag::Parse(file);
    if (!stored.Problems().empty()) Fail("a saved field read with problems:\n" + file);
    const std::u16string text = control_->Text();
    control_ = &stage_->Load(stored);
    record_->control = control_;
    control_->Advise(record_);
    if (control_->Text() != text) Fail("the text did not survive a save: " + U8(text));
    morlex::storage::FilePropertyBag again;
    control_->WriteProperties(again);
    // A host that holds the height fixed gives the new field that height.
    const bool sized_by_host = Policy().lock_height.has_value() || height_corrected;
    if (Settings(again.Serialize(), sized_by_host, width_corrected) !=
        Settings(file, sized_by_host, width_corrected)) {
      Fail("settings changed across a save and a load:\n" + file + "\n" + again.Serialize());
    }
  }

  static std::string Settings(const std::string& file, bool without_height, bool without_width) {
    std::string kept;
    std::size_t at = 0;
    while (at < file.size()) {
      const std::size_t end = std::min(file.find('\n', at), file.size());
      const std::string_view line(file.data() + at, end - at);
      const bool derived =
          line.find("\"TextWidth\"") != std::string_view::npos ||
          line.find("\"SpinLeft\"") != std::string_view::npos ||
          (without_height && line.find("\"UserCtlHeight\"") != std::string_view::npos) ||
          (without_width && line.find("\"UserCtlWidth\"") != std::string_view::npos);
      if (!derived) {
        kept.append(line).push_back('\n');
      }
      at = end + 1;
    }
    return kept;
  }

  std::uint8_t Peek() {
    ByteScript copy = in_;
    return copy.Byte();
  }

  ByteScript& in_;
  std::unique_ptr<morlex::host::Binding> binding_;
  std::unique_ptr<morlex::host::Stage> stage_;
  MorlexDate* control_ = nullptr;
  std::shared_ptr<Record> record_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 2048) return 0;
  ByteScript in(data, size);
  Session(in).Run();
  return 0;
}
