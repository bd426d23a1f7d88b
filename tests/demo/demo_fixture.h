#pragma once
// Test support for the demo: a temporary folder, a second raw SQLite
// connection (to look at the file from outside, or to lock it), and a
// MorlexDate on the headless toolkit whose host answers through a
// FieldBinding, with a recorder of its events.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "field_binding.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/unicode.h"
#include "morlex/headless/toolkit.h"
#include "morlex/platform/clock.h"
#include "record_editor.h"
#include "record_store.h"

namespace morlex::demo::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "morlex-demo-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// A connection of its own, as another program would hold it.
class RawDb {
 public:
  explicit RawDb(const std::string& path, int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) {
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << "cannot open " << path;
    }
  }
  ~RawDb() { sqlite3_close(db_); }
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;

  int Exec(const std::string& sql) {
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
  }
  // The first column of the first row; nullopt for NULL or no row.
  std::optional<std::string> Value(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    std::optional<std::string> result;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sqlite3_errmsg(db_) << " in " << sql;
      return result;
    }
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL) {
      result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    sqlite3_finalize(stmt);
    return result;
  }
  // The whole table as one text, to show that a failure changed nothing.
  std::string Dump() {
    return Value(
               "SELECT group_concat(id || '|' || name || '|' || ifnull(born, '-') || '|' || "
               "ifnull(hired, '-') || '|' || ifnull(reviewed, '-'), ';') FROM "
               "(SELECT * FROM people ORDER BY id)")
        .value_or("");
  }

 private:
  sqlite3* db_ = nullptr;
};

// The host of one headless field: its data answers come from the binding,
// the rest is kept in memory like any simple host.
class BindingSite final : public platform::HostSite {
 public:
  BindingSite(FieldBinding& binding, const platform::Clock& clock)
      : binding_(binding), clock_(clock) {}
  void Attach(MorlexDate* control, headless::Surface* surface) {
    control_ = control;
    surface_ = surface;
  }

  bool user_mode = true;

  bool UserMode() const override { return user_mode; }
  platform::FontRef AmbientFont() const override { return font_; }
  void NotifyChanged(std::string_view key) override {
    notices.emplace_back(key);
    binding_.NotifyChanged(key);
  }
  bool CanChange(std::string_view key) override { return binding_.CanChange(key); }
  float Width() const override { return width_; }
  float Height() const override { return height_; }
  void SetWidth(float twips) override {
    width_ = twips;
    if (control_ != nullptr) control_->Resize();
  }
  void SetHeight(float twips) override {
    height_ = twips;
    if (control_ != nullptr) control_->Resize();
  }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  const platform::Widget* ActiveConstituent() const override {
    return surface_ != nullptr ? surface_->Focused() : nullptr;
  }
  const platform::Clock& GetClock() const override { return clock_; }

  std::vector<std::string> notices;

 private:
  FieldBinding& binding_;
  const platform::Clock& clock_;
  platform::FontRef font_ = std::make_shared<platform::Font>();
  MorlexDate* control_ = nullptr;
  headless::Surface* surface_ = nullptr;
  float width_ = 1635;
  float height_ = 315;
  bool enabled_ = true;
};

class EventRecorder : public MorlexDateEvents {
 public:
  void DateChanged() override { lines.push_back("DateChanged"); }
  void DateInvalid() override { lines.push_back("DateInvalid"); }
  void DateError(ErrObject& objErr, std::u16string& strCustom) override {
    lines.push_back("DateError " + objErr.source + " | " + ToUtf8(strCustom) + " | " +
                    objErr.description);
  }
  bool Saw(const std::string& prefix) const {
    for (const auto& l : lines) {
      if (l.rfind(prefix, 0) == 0) return true;
    }
    return false;
  }
  std::vector<std::string> lines;
};

// A MorlexDate on the headless toolkit bound to one column of an editor.
class BoundField {
 public:
  BoundField(RecordEditor& editor, DateColumn column, std::int32_t format,
             const platform::Clock& clock)
      : binding(editor.Bind(column)), site(binding, clock), control(site, toolkit) {
    surface = toolkit.LastControlSurface();
    site.Attach(&control, surface);
    control.InitProperties();
    control.Resize();
    control.Show();
    control.SetDateFormat(format);
    control.Advise(events);
    binding.Attach(&control);
  }

  headless::TextBox& Box() { return surface->Text("txtDate"); }
  std::u16string Text() const { return control.Text(); }

  void Focus() { surface->MoveFocus(&Box()); }
  // The focus goes to another control of the form: the field commits.
  void Leave() { surface->MoveFocus(nullptr); }
  // The user types, the toolkit telling the binding of each key first.
  void Type(std::u16string_view keys) {
    if (surface->Focused() == nullptr) Focus();
    for (char16_t ch : keys) {
      binding.NoteKeyPress(ch);
      Box().Type(ch);
    }
  }
  // Replaces the whole text by typing: select all, then type.
  void Retype(std::u16string_view keys) {
    Focus();
    Box().MoveCaret(0, static_cast<int>(Box().Text().size()));
    Type(keys);
  }
  void Enter() { Type(u"\r"); }

  FieldBinding& binding;
  BindingSite site;
  headless::Toolkit toolkit;
  MorlexDate control;
  headless::Surface* surface = nullptr;
  std::shared_ptr<EventRecorder> events = std::make_shared<EventRecorder>();
};

// Runs fn and expects a StoreError of kind; says, when given, is a part of
// its description.
template <typename Fn>
void ExpectStoreError(Fn&& fn, StoreFailure kind, std::string_view says = {}) {
  try {
    std::forward<Fn>(fn)();
    ADD_FAILURE() << "no StoreError";
  } catch (const StoreError& e) {
    EXPECT_EQ(e.kind(), kind);
    if (!says.empty()) {
      EXPECT_NE(e.description().find(says), std::string::npos) << e.description();
    }
  }
}

}  // namespace morlex::demo::testing
