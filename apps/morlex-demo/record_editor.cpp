#include "record_editor.h"

#include <algorithm>

namespace morlex::demo {

RecordEditor::RecordEditor(RecordStore& store) : store_(store) {}

RecordEditor::~RecordEditor() = default;

FieldBinding& RecordEditor::Bind(DateColumn column) {
  if (FieldBinding* existing = Binding(column)) return *existing;
  bindings_.push_back(std::make_unique<FieldBinding>(*this, column));
  return *bindings_.back();
}

FieldBinding* RecordEditor::Binding(DateColumn column) const {
  for (const auto& b : bindings_) {
    if (b->Column() == column) return b.get();
  }
  return nullptr;
}

bool RecordEditor::Editable() const {
  return has_record_ && !store_.ReadOnly();
}

std::string RecordEditor::WhyNotEditable() const {
  if (!has_record_) return "There is no current record: use New to add one.";
  if (store_.ReadOnly()) return "The database is open read-only.";
  return {};
}

int RecordEditor::Position() const {
  if (!has_record_ || buffer_.id == 0) return -1;
  const auto it = std::find(ids_.begin(), ids_.end(), buffer_.id);
  return it == ids_.end() ? -1 : static_cast<int>(it - ids_.begin());
}

std::string RecordEditor::PositionText() const {
  if (!has_record_) return "No record";
  if (buffer_.id == 0) return "New record";
  const int position = Position();
  if (position < 0) return "Record " + std::to_string(buffer_.id) + " (gone from the table)";
  return "Record " + std::to_string(position + 1) + " of " + std::to_string(ids_.size());
}

void RecordEditor::SetName(std::string name) {
  if (!Editable()) throw Error(errnum::kInvalidCall, WhyNotEditable(), "RecordEditor");
  buffer_.name = std::move(name);
}

void RecordEditor::StageDate(DateColumn column, std::optional<std::string> value) {
  buffer_.SetDateText(column, std::move(value));
}

bool RecordEditor::Dirty() const {
  if (!has_record_) return false;
  if (buffer_ != stored_) return true;
  return std::any_of(bindings_.begin(), bindings_.end(), [](const auto& b) {
    return !b->DesignMode() && b->State() != FieldState::kShowsValue;
  });
}

void RecordEditor::RequireClean(bool discard_edits) const {
  if (!discard_edits && Dirty()) {
    throw Error(errnum::kInvalidCall,
                "The record has unsaved changes: save them, or discard them first.",
                "RecordEditor");
  }
}

void RecordEditor::Present(Person person, bool has_record) {
  has_record_ = has_record;
  buffer_ = std::move(person);
  stored_ = buffer_;
  for (const auto& b : bindings_) b->Show();
  if (on_record_changed) on_record_changed();
}

void RecordEditor::Refresh() {
  ids_ = store_.Ids();
}

bool RecordEditor::Go(Move move, bool discard_edits) {
  RequireClean(discard_edits);
  std::vector<std::int64_t> ids = store_.Ids();
  std::optional<std::int64_t> target;
  const std::int64_t current = has_record_ ? buffer_.id : 0;
  switch (move) {
    case Move::kFirst:
      if (!ids.empty()) target = ids.front();
      break;
    case Move::kLast:
      if (!ids.empty()) target = ids.back();
      break;
    case Move::kNext:
      // A new record stands after the last row: nothing follows it.
      if (current != 0) {
        const auto it = std::upper_bound(ids.begin(), ids.end(), current);
        if (it != ids.end()) target = *it;
      } else if (!has_record_ && !ids.empty()) {
        target = ids.front();
      }
      break;
    case Move::kPrevious:
      if (current != 0) {
        const auto it = std::lower_bound(ids.begin(), ids.end(), current);
        if (it != ids.begin()) target = *std::prev(it);
      } else if (!ids.empty()) {
        target = ids.back();
      }
      break;
  }
  ids_ = std::move(ids);
  if (!target) {
    // Nothing there: the current record stays, with the edits the caller
    // chose to discard dropped.
    if (discard_edits && has_record_) Revert();
    return false;
  }
  // Read first: a failure leaves the current record as it is.
  Person person = store_.Load(*target);
  Present(std::move(person), true);
  return true;
}

void RecordEditor::GoTo(std::int64_t id, bool discard_edits) {
  RequireClean(discard_edits);
  Refresh();
  if (ids_.empty()) {
    Present(Person{}, false);
    return;
  }
  const std::int64_t target =
      std::find(ids_.begin(), ids_.end(), id) != ids_.end() ? id : ids_.front();
  Person person = store_.Load(target);
  Present(std::move(person), true);
}

void RecordEditor::New(bool discard_edits) {
  RequireClean(discard_edits);
  if (store_.ReadOnly()) {
    throw Error(errnum::kInvalidCall, "The database is open read-only: no record can be added.",
                "RecordEditor");
  }
  Present(Person{}, true);
}

void RecordEditor::Delete() {
  if (!has_record_) {
    throw Error(errnum::kInvalidCall, "There is no current record to delete.", "RecordEditor");
  }
  const std::int64_t id = buffer_.id;
  if (id != 0) store_.Delete(id);  // throws with everything left as it was
  Refresh();
  // A new record stands after the last row, so the row before it is the last.
  std::optional<std::int64_t> target;
  const auto after = id != 0 ? std::upper_bound(ids_.begin(), ids_.end(), id) : ids_.end();
  if (after != ids_.end()) {
    target = *after;
  } else if (after != ids_.begin()) {
    target = *std::prev(after);
  }
  if (!target) {
    Present(Person{}, false);
    return;
  }
  Person person = store_.Load(*target);
  Present(std::move(person), true);
}

void RecordEditor::Revert() {
  if (!has_record_) return;
  Present(stored_, true);
}

void RecordEditor::Save() {
  if (!has_record_) {
    throw Error(errnum::kInvalidCall, "There is no current record to save.", "RecordEditor");
  }
  if (store_.ReadOnly()) {
    throw StoreError(StoreFailure::kReadOnly, 0,
                     "Could not save the record: the database is open read-only. Nothing was "
                     "written.");
  }
  // Text still being edited is committed by the same rules as on leaving
  // the field; a field that cannot be committed stops the save before
  // anything is written.
  for (const auto& b : bindings_) b->Flush();
  Person person = buffer_;
  store_.Save(person);
  buffer_.id = person.id;
  stored_ = buffer_;
  Refresh();
  if (on_record_changed) on_record_changed();
}

}  // namespace morlex::demo
