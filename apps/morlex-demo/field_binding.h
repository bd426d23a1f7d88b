#pragma once
// The host's side of one MorlexDate bound to a date column: the answers to
// CanChange("Text") and the handling of NotifyChanged, over the record buffer
// of a RecordEditor.
//
// The field tells its host that "Text" changed far more often than it means
// "store this": before every key it handles, after every change of the text
// while the user types, and once more when the date is committed (focus
// leaving the field, or Enter). Only the commit may put a value into the
// record buffer, and only a complete, valid date inside the column's range
// or an empty text; a commit that is refused throws morlex::Error, which the
// field reports as DateError "Could not update recordset.". Nothing reaches
// the database before the editor saves.
//
// Telling a commit from the other notices: a commit repeats the text of the
// notice before it (the field never changes the text between rendering and
// committing), and happens either with the focus already outside the field
// or inside the Enter key. Key notices also repeat the text, so the toolkit
// tells the binding about every key press before the field sees it
// (NoteKeyPress).
//
//   FieldBinding& born = editor.Bind(DateColumn::kBorn);
//   // the host site of the field answers CanChange and NotifyChanged with
//   // born.CanChange(key) and born.NotifyChanged(key)
//   born.Attach(&control);
//   born.Show();  // the record's value, in the field's pattern

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "record_store.h"

namespace morlex {
class MorlexDate;
}

namespace morlex::demo {

class RecordEditor;

// What the text of the field stands for, against the record buffer.
enum class FieldState {
  kShowsValue,  // the text reads as the buffer's value (empty for NULL)
  kEditing,     // the text is a date or empty, but not committed yet
  kInvalid,     // the text is not a date (and not the stored value as it is)
  kRefused,     // the last commit of this very text was refused
};

// One notice from the field, as the binding understood it.
struct Notice {
  enum class Kind {
    kDesign,     // a design-time setting changed (any key but "Text", or
                 // "Text" while designing)
    kLoading,    // the form itself put the record's value into the field
    kChange,     // the text changed while being edited
    kKey,        // the notice before a key is handled
    kCommitted,  // a commit put the value into the record buffer
    kUnchanged,  // a commit of the value the buffer already holds
    kRefused,    // a commit was refused; the error follows to the field
  };
  DateColumn column;
  Kind kind;
  std::string key;    // the notice's key ("Text", "DateFormat", ...)
  std::string text;   // the field's text (UTF-8)
  std::string value;  // kCommitted, kUnchanged: the ISO value or "NULL"
  std::string why;    // kRefused: the error's description
};
std::string_view KindName(Notice::Kind kind);
// One line for an event log: "born  commit \"01/05/1999\" -> 1999-01-05".
std::string Describe(const Notice& notice);

class FieldBinding {
 public:
  FieldBinding(RecordEditor& editor, DateColumn column);
  FieldBinding(const FieldBinding&) = delete;
  FieldBinding& operator=(const FieldBinding&) = delete;

  DateColumn Column() const { return column_; }

  // The control whose notices this binding answers; nullptr detaches.
  void Attach(MorlexDate* control);
  MorlexDate* Control() const { return control_; }

  // While designing, the field is not bound to data: every notice is a
  // design change and nothing reaches the record.
  void SetDesignMode(bool designing) { designing_ = designing; }
  bool DesignMode() const { return designing_; }
  // Set by a design notice; cleared by the owner after it saved the design.
  bool DesignChanged() const { return design_changed_; }
  void ClearDesignChanged() { design_changed_ = false; }

  // --- The host hooks ---
  bool CanChange(std::string_view key) const;
  // Throws morlex::Error when a committed value is refused.
  void NotifyChanged(std::string_view key);
  // The toolkit is about to deliver a character key (its code: 13 for Enter,
  // 8 for Backspace) or any other key (-1) to the field.
  void NoteKeyPress(int code) { last_key_ = code; }

  // --- The form's side ---
  // Puts the buffer's value into the field, rendered in the field's pattern
  // (a stored text that is no ISO date is shown as it is).
  void Show();
  FieldState State() const;
  // Changes the field's DateFormat. A field that shows the buffer's value is
  // shown afresh in the new pattern: the field's own re-rendering reads the
  // old text back, and a two-digit year read back loses its century.
  void ApplyDateFormat(std::int32_t format);
  // Commits the field's text if it is not committed yet; throws
  // morlex::Error when it cannot be (not a date, out of range).
  void Flush();

  // Receives every notice (may be empty).
  std::function<void(const Notice&)> on_notice;

 private:
  std::u16string DisplayText() const;
  std::optional<std::string> ValueOfText(std::u16string_view text, bool& is_date) const;
  void NoteRendering(const std::u16string& previous, const std::u16string& text);
  bool IsCommit() const;
  void Commit(const std::u16string& text);
  [[noreturn]] void Refuse(const std::u16string& text, std::string why);
  void Report(Notice::Kind kind, std::string_view key, std::string value = {},
              std::string why = {}) const;
  int CurrentYear() const;

  RecordEditor& editor_;
  DateColumn column_;
  MorlexDate* control_ = nullptr;
  bool designing_ = false;
  bool design_changed_ = false;
  bool loading_ = false;
  int last_key_ = -1;
  std::u16string last_seen_;
  std::optional<std::u16string> refused_text_;
  // The value the field's text stands for when the field rendered a date
  // into a pattern that does not read back as that date.
  struct Meaning {
    std::u16string text;
    std::optional<std::string> value;
  };
  std::optional<Meaning> meant_;
};

}  // namespace morlex::demo
