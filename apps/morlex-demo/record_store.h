#pragma once
// The demo's data: a "people" table in a SQLite file (name and three dates),
// reached through SQLite's C API. Dates are stored as ISO 8601 text
// (YYYY-MM-DD) so that the file reads the same whatever pattern a form shows
// them in, and every date column carries a CHECK constraint that admits only
// real calendar dates within the column's range.
//
//   RecordStore store({.path = RecordStore::DefaultPath()});  // created and seeded
//   Person p = store.Load(store.Ids().front());
//   p.SetDate(DateColumn::kReviewed, Date{2026, 12, 8});
//   store.Save(p);  // one transaction; StoreError on failure, file unchanged
//
// Every failure is a StoreError (a morlex::Error) that says what went wrong
// in words a user can act on; the kind tells the failures apart.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morlex/core/date.h"
#include "morlex/core/error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace morlex::demo {

// ---------------------------------------------------------------------------
// ISO 8601 calendar dates.

// "YYYY-MM-DD" with four-digit year (leading zeros below 1000).
std::string ToIso(const Date& date);
// The date of an exact "YYYY-MM-DD" text; nullopt for anything else
// (other lengths or separators, signs, blanks, days that do not exist).
std::optional<Date> FromIso(std::string_view text);

// ---------------------------------------------------------------------------
// The columns.

enum class DateColumn { kBorn = 0, kHired = 1, kReviewed = 2 };
inline constexpr std::array<DateColumn, 3> kDateColumns = {DateColumn::kBorn, DateColumn::kHired,
                                                           DateColumn::kReviewed};

struct DateColumnInfo {
  std::string_view name;   // SQL column name
  std::string_view label;  // for people
  Date low;                // first date the column admits
  Date high;               // last date the column admits
};
const DateColumnInfo& Info(DateColumn column);

// The CHECK expression of a date column as it stands in the schema: NULL, or
// an ISO date between low and high.
std::string CheckExpression(DateColumn column);

// One row of "people". A date is held as the text stored in the file:
// normally ISO, but a file written by another program may hold anything, and
// such a value is kept as it is until the user replaces it.
struct Person {
  std::int64_t id = 0;  // 0: not stored yet
  std::string name;
  std::array<std::optional<std::string>, 3> dates;

  const std::optional<std::string>& DateText(DateColumn c) const {
    return dates[static_cast<std::size_t>(c)];
  }
  void SetDateText(DateColumn c, std::optional<std::string> text) {
    dates[static_cast<std::size_t>(c)] = std::move(text);
  }
  void SetDate(DateColumn c, std::optional<Date> date) {
    SetDateText(c, date ? std::optional<std::string>(ToIso(*date)) : std::nullopt);
  }
  friend bool operator==(const Person&, const Person&) = default;
};

// ---------------------------------------------------------------------------
// Failures.

enum class StoreFailure {
  kOpen,        // the file could not be opened or is not a usable database
  kReadOnly,    // the database is open read-only, or the file cannot be written
  kLocked,      // another connection holds a lock for longer than we wait
  kConstraint,  // the row breaks a constraint of the table
  kNoRecord,    // the row is not (or no longer) in the table
  kIo,          // any other failure of SQLite or the disk
};

class StoreError : public Error {
 public:
  StoreError(StoreFailure kind, int sqlite_code, std::string description);
  StoreFailure kind() const noexcept { return kind_; }
  // SQLite's extended result code (0 when the failure is the store's own).
  int sqlite_code() const noexcept { return sqlite_code_; }

 private:
  StoreFailure kind_;
  int sqlite_code_;
};

// ---------------------------------------------------------------------------
// The store.

struct OpenOptions {
  std::string path;
  // Opens with SQLITE_OPEN_READONLY. A file the process cannot write is
  // opened read-only anyway (SQLite's own rule); ReadOnly() tells.
  bool read_only = false;
  // How long a statement waits for another connection's lock.
  int busy_timeout_ms = 300;
  // A file without the table gets it, with sample rows.
  bool seed = true;
};

class RecordStore {
 public:
  // Opens (and on first use creates and seeds) the database. Throws
  // StoreError; nothing is left open on failure.
  explicit RecordStore(const OpenOptions& options);
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // The demo's default file: $XDG_DATA_HOME/morlex-demo/people.sqlite, or
  // ~/.local/share/morlex-demo/people.sqlite. Does not create anything.
  static std::string DefaultPath();

  const std::string& Path() const { return path_; }
  bool ReadOnly() const;
  // True when the table was created (and seeded) by this open.
  bool Created() const { return created_; }

  // Ids of every row, ascending.
  std::vector<std::int64_t> Ids() const;
  // The row with id; StoreError kNoRecord when there is none.
  Person Load(std::int64_t id) const;
  // Writes the row in one transaction: inserts when person.id is 0 (and sets
  // the new id), else updates. On failure the transaction is rolled back,
  // the file keeps its last good state, person is unchanged.
  void Save(Person& person);
  // Deletes the row in one transaction; kNoRecord when it is gone already.
  void Delete(std::int64_t id);

  // Whether the column's CHECK constraint admits value (nullopt: NULL). The
  // schema's own expression is evaluated by SQLite, so the answer is the
  // table's, without touching the table or taking a write lock.
  bool Accepts(DateColumn column, const std::optional<std::string>& value) const;

  sqlite3* Handle() const { return db_; }

 private:
  class Statement;
  void Exec(const char* sql) const;
  void CreateSchema();
  void CheckSchema() const;
  void Seed();
  [[noreturn]] void Fail(int rc, std::string_view doing) const;

  std::string path_;
  sqlite3* db_ = nullptr;
  bool created_ = false;
  std::array<sqlite3_stmt*, 3> accepts_{};
};

}  // namespace morlex::demo
