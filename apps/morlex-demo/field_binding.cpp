#include "field_binding.h"

#include <utility>

#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"
#include "morlex/core/unicode.h"
#include "record_editor.h"

namespace morlex::demo {

std::string_view KindName(Notice::Kind kind) {
  // In the order of Notice::Kind.
  static constexpr std::string_view kNames[] = {"design", "load",   "typing", "key",
                                                "commit", "commit", "refused"};
  static_assert(std::size(kNames) == static_cast<std::size_t>(Notice::Kind::kRefused) + 1);
  const auto index = static_cast<std::size_t>(kind);
  return index < std::size(kNames) ? kNames[index] : "?";
}

std::string Describe(const Notice& n) {
  std::string line = std::string(Info(n.column).name) + ": NotifyChanged(" + n.key + ") " +
                     std::string(KindName(n.kind));
  if (n.key == "Text") line += " \"" + n.text + "\"";
  switch (n.kind) {
    case Notice::Kind::kCommitted:
      line += " -> " + n.value + " (staged, saved on Save)";
      break;
    case Notice::Kind::kUnchanged:
      line += " -> " + n.value + " (unchanged)";
      break;
    case Notice::Kind::kRefused:
      line += ": " + n.why;
      break;
    case Notice::Kind::kChange:
    case Notice::Kind::kKey:
      line += " (not stored)";
      break;
    default:
      break;
  }
  return line;
}

FieldBinding::FieldBinding(RecordEditor& editor, DateColumn column)
    : editor_(editor), column_(column) {}

void FieldBinding::Attach(MorlexDate* control) {
  control_ = control;
  last_seen_ = control_ != nullptr ? control_->Text() : std::u16string();
  refused_text_.reset();
  meant_.reset();
}

int FieldBinding::CurrentYear() const {
  return control_->Host().GetClock().Today().year;
}

bool FieldBinding::CanChange(std::string_view key) const {
  if (designing_ || loading_ || key != "Text") return true;
  return editor_.Editable();
}

void FieldBinding::NotifyChanged(std::string_view key) {
  if (control_ == nullptr) return;
  if (designing_ || key != "Text") {
    design_changed_ = true;
    Report(Notice::Kind::kDesign, key);
    return;
  }
  const std::u16string text = control_->Text();
  const bool repeated = text == last_seen_;
  const std::u16string previous = std::exchange(last_seen_, text);
  if (loading_) {
    Report(Notice::Kind::kLoading, key);
    return;
  }
  if (!repeated) {
    NoteRendering(previous, text);
    Report(Notice::Kind::kChange, key);
    return;
  }
  if (!IsCommit()) {
    Report(Notice::Kind::kKey, key);
    return;
  }
  Commit(text);
}

void FieldBinding::NoteRendering(const std::u16string& previous, const std::u16string& text) {
  // The field renders a date it has read into its pattern before it commits
  // it (and when its pattern changes). In a pattern with a two-digit year
  // the rendering may read back as another date (6/30/2031 becomes 06/30/31,
  // which reads as 1931); the value meant is the one that was rendered.
  std::optional<Date> date;
  if (meant_ && meant_->text == previous) {
    if (meant_->value) date = FromIso(*meant_->value);
  } else {
    date = control_->ReadDate(previous);
  }
  if (date && text == WriteDate(*date, control_->RenderPattern(), control_->Layout())) {
    meant_ = Meaning{text, ToIso(*date)};
  } else {
    meant_.reset();
  }
}

bool FieldBinding::IsCommit() const {
  // Keys reach the field only while it has the focus; a commit on leaving
  // the field comes when the focus is already elsewhere.
  if (control_->Host().ActiveConstituent() == nullptr) return true;
  return last_key_ == platform::kEnter || last_key_ == 0;
}

std::u16string FieldBinding::DisplayText() const {
  const std::optional<std::string>& value = editor_.Buffer().DateText(column_);
  if (!value) return {};
  if (const std::optional<Date> date = FromIso(*value)) {
    // The empty pattern writes plain date text, so the field never goes
    // blank.
    return WriteDate(*date, control_->RenderPattern(), control_->Layout());
  }
  return FromUtf8(*value);  // not ours: shown as stored, kept until replaced
}

std::optional<std::string> FieldBinding::ValueOfText(std::u16string_view text,
                                                     bool& is_date) const {
  is_date = true;
  if (TrimBlanks(text).empty()) return std::nullopt;
  // The buffer's own value as the form showed it stands for that value, even
  // where reading it back would not give it: 01/05/20 in a two-digit-year
  // pattern shown for 1920-01-05 must not turn into 2020 when the user merely
  // passes through the field. The same holds for a stored text that is no
  // ISO date and is shown as it is.
  const std::optional<std::string>& buffered = editor_.Buffer().DateText(column_);
  if (buffered && text == DisplayText()) return buffered;
  if (meant_ && meant_->text == text) return meant_->value;
  if (const std::optional<Date> date = control_->ReadDate(text)) return ToIso(*date);
  is_date = false;
  return std::nullopt;
}

void FieldBinding::Commit(const std::u16string& text) {
  bool is_date = false;
  const std::optional<std::string> value = ValueOfText(text, is_date);
  const DateColumnInfo& info = Info(column_);
  if (!is_date) Refuse(text, std::string(info.label) + ": \"" + ToUtf8(text) + "\" is not a date.");
  if (!editor_.Editable()) Refuse(text, editor_.WhyNotEditable());
  const bool same = value == editor_.Buffer().DateText(column_);
  // A value already in the buffer was admitted before (or came from the
  // file); only new values are checked against the column's rule.
  if (!same && !editor_.Store().Accepts(column_, value)) {
    // The limits in the field's pattern, but always with the century: 12/31/99
    // would not say which end of the window is meant.
    std::u16string pattern(control_->RenderPattern());
    if (pattern.find(u"yyyy") == std::u16string::npos) {
      const std::size_t yy = pattern.find(u"yy");
      if (yy != std::u16string::npos) pattern.replace(yy, 2, u"yyyy");
    }
    const DateLayout& layout = control_->Layout();
    Refuse(text, std::string(info.label) + " must be a date from " +
                     ToUtf8(WriteDate(info.low, pattern, layout)) + " to " +
                     ToUtf8(WriteDate(info.high, pattern, layout)) + ".");
  }
  refused_text_.reset();
  if (!same) editor_.StageDate(column_, value);
  Report(same ? Notice::Kind::kUnchanged : Notice::Kind::kCommitted, "Text",
         value.value_or("NULL"));
}

void FieldBinding::Refuse(const std::u16string& text, std::string why) {
  refused_text_ = text;
  Report(Notice::Kind::kRefused, "Text", {}, why);
  throw Error(errnum::kInvalidValue, std::move(why), "people." + std::string(Info(column_).name));
}

void FieldBinding::Show() {
  if (control_ == nullptr) return;
  const std::u16string text = DisplayText();
  loading_ = true;
  try {
    control_->SetText(text);
  } catch (...) {
    loading_ = false;
    throw;
  }
  loading_ = false;
  last_seen_ = control_->Text();
  refused_text_.reset();
  // What the form put there stands for the buffer's value, whatever a later
  // rendering of it reads back as.
  meant_ = Meaning{last_seen_, editor_.Buffer().DateText(column_)};
}

FieldState FieldBinding::State() const {
  if (control_ == nullptr) return FieldState::kShowsValue;
  const std::u16string text = control_->Text();
  if (refused_text_ && *refused_text_ == text) return FieldState::kRefused;
  bool is_date = false;
  const std::optional<std::string> value = ValueOfText(text, is_date);
  if (!is_date) return FieldState::kInvalid;
  return value == editor_.Buffer().DateText(column_) ? FieldState::kShowsValue
                                                     : FieldState::kEditing;
}

void FieldBinding::ApplyDateFormat(std::int32_t format) {
  if (control_ == nullptr) return;
  const bool shows_value = !designing_ && State() == FieldState::kShowsValue;
  control_->SetDateFormat(format);
  if (shows_value) Show();
}

void FieldBinding::Flush() {
  if (control_ == nullptr || designing_) return;
  if (State() == FieldState::kShowsValue) return;
  Commit(control_->Text());
}

void FieldBinding::Report(Notice::Kind kind, std::string_view key, std::string value,
                          std::string why) const {
  if (!on_notice) return;
  Notice notice{column_,          kind,          std::string(key), ToUtf8(control_->Text()),
                std::move(value), std::move(why)};
  on_notice(notice);
}

}  // namespace morlex::demo
