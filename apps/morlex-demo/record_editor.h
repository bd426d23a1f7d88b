#pragma once
// The record form's logic without its widgets: which row is current, the
// buffer of values the user has committed, navigation, and saving in one
// transaction. The date fields are bound through FieldBinding; the name is
// set directly.
//
//   RecordEditor editor(store);
//   FieldBinding& born = editor.Bind(DateColumn::kBorn);
//   ... attach controls ...
//   editor.Go(Move::kFirst);
//   ... the user edits ...
//   editor.Save();  // morlex::Error on failure: file and form both unchanged
//
// Edits live only in the buffer (and in the fields) until Save. A failed save
// loses nothing: the file keeps its last good state and the buffer and the
// fields keep the user's edits, so that the user can correct and save again.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "field_binding.h"
#include "record_store.h"

namespace morlex::demo {

enum class Move { kFirst, kPrevious, kNext, kLast };

class RecordEditor {
 public:
  explicit RecordEditor(RecordStore& store);
  ~RecordEditor();
  RecordEditor(const RecordEditor&) = delete;
  RecordEditor& operator=(const RecordEditor&) = delete;

  RecordStore& Store() const { return store_; }

  // A binding for a date column, owned by the editor (one per column).
  FieldBinding& Bind(DateColumn column);
  FieldBinding* Binding(DateColumn column) const;

  // --- The current record ---
  // A stored row or a new one is current.
  bool HasRecord() const { return has_record_; }
  bool IsNew() const { return has_record_ && buffer_.id == 0; }
  // The current record may change: there is one and the file is writable.
  bool Editable() const;
  // Why the record cannot change, for the user; empty when it can.
  std::string WhyNotEditable() const;
  // 0-based place of the current row among the stored rows; -1 for a new
  // record or none.
  int Position() const;
  int Count() const { return static_cast<int>(ids_.size()); }
  // "Record 2 of 6", "New record", "No record".
  std::string PositionText() const;

  // The values to save, and what the file held at the last load or save.
  const Person& Buffer() const { return buffer_; }
  const Person& Stored() const { return stored_; }
  // Throws morlex::Error when the record cannot change.
  void SetName(std::string name);
  // Used by the bindings: puts a committed value into the buffer.
  void StageDate(DateColumn column, std::optional<std::string> value);

  // Unsaved edits: the buffer differs from the file, or a field holds text
  // that is not committed.
  bool Dirty() const;

  // --- Commands ---
  // Moves to another stored row. Refused (morlex::Error) while Dirty()
  // unless discard_edits. Returns false when there is no such row (the
  // current record stays).
  bool Go(Move move, bool discard_edits = false);
  // Re-reads the list of rows and shows the row with id (or the first).
  void GoTo(std::int64_t id, bool discard_edits = false);
  // Starts a new, empty record (not stored before Save).
  void New(bool discard_edits = false);
  // Deletes the current row (a new record is only dropped); shows the next
  // row, else the previous, else none.
  void Delete();
  // Drops the edits: buffer and fields show the file's values again.
  void Revert();
  // Commits every field, then writes the record in one transaction. Throws
  // morlex::Error (StoreError for the file's failures); nothing is lost.
  void Save();

  // Called after the current record changed (loaded, new, reverted, saved,
  // none), so that the form refreshes what is not a bound field.
  std::function<void()> on_record_changed;

 private:
  void RequireClean(bool discard_edits) const;
  void Present(Person person, bool has_record);
  void Refresh();

  RecordStore& store_;
  std::vector<std::unique_ptr<FieldBinding>> bindings_;
  std::vector<std::int64_t> ids_;
  bool has_record_ = false;
  Person buffer_;
  Person stored_;
};

}  // namespace morlex::demo
