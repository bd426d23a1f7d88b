#include "record_store.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <utility>

namespace morlex::demo {

// ---------------------------------------------------------------------------
// ISO dates

std::string ToIso(const Date& date) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
  return buffer;
}

std::optional<Date> FromIso(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto number = [&](std::size_t from, std::size_t count) -> int {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  const Date date{number(0, 4), number(5, 2), number(8, 2)};
  if (!date.ok()) return std::nullopt;
  return date;
}

// ---------------------------------------------------------------------------
// Columns

const DateColumnInfo& Info(DateColumn column) {
  // The ranges keep obvious typing slips out of the file: a birth year of
  // 1850 or a hiring in 1066 is far more likely a typo than a fact.
  static const std::array<DateColumnInfo, 3> kInfo = {{
      {"born", "Born", {1900, 1, 1}, {2029, 12, 31}},
      {"hired", "Hired", {1950, 1, 1}, {2099, 12, 31}},
      {"reviewed", "Reviewed", {1950, 1, 1}, {2099, 12, 31}},
  }};
  return kInfo[static_cast<std::size_t>(column)];
}

std::string CheckExpression(DateColumn column) {
  const DateColumnInfo& info = Info(column);
  const std::string c(info.name);
  // date(x, '+0 days') IS x holds only for a well-formed ISO text of a day
  // that exists: the modifier makes SQLite carry 1999-02-30 over into March
  // (plain date() would hand it back as it is) and it rejects other forms.
  return c + " IS NULL OR (date(" + c + ", '+0 days') IS " + c + " AND " + c + " BETWEEN '" +
         ToIso(info.low) + "' AND '" + ToIso(info.high) + "')";
}

// ---------------------------------------------------------------------------
// Errors

StoreError::StoreError(StoreFailure kind, int sqlite_code, std::string description)
    : Error(kind == StoreFailure::kOpen || kind == StoreFailure::kReadOnly ? errnum::kFileFailure
                                                                           : errnum::kHostFailure,
            std::move(description), "RecordStore"),
      kind_(kind),
      sqlite_code_(sqlite_code) {}

namespace {

struct ConstraintText {
  std::string_view name;
  std::string_view text;
};

// What each named constraint of the schema means to the person at the form.
std::string ExplainConstraint(std::string_view message) {
  static const ConstraintText kTexts[] = {
      {"hired_after_born", "Hired must come after Born"},
      {"reviewed_after_hired", "Reviewed must not come before Hired"},
      {"name_given", "the name must not be empty"},
      {"people.name", "the name must not be empty"},
  };
  for (const auto& t : kTexts) {
    if (message.find(t.name) != std::string_view::npos) return std::string(t.text);
  }
  for (DateColumn c : kDateColumns) {
    const DateColumnInfo& info = Info(c);
    if (message.find(std::string(info.name) + "_date") != std::string_view::npos) {
      return std::string(info.label) + " must be a date from " + ToIso(info.low) + " to " +
             ToIso(info.high);
    }
  }
  return std::string(message);
}

}  // namespace

void RecordStore::Fail(int rc, std::string_view doing) const {
  const int primary = rc & 0xff;
  const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  std::string what(doing);
  switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      throw StoreError(StoreFailure::kLocked, rc,
                       what +
                           ": the database is locked by another program. Nothing was "
                           "written; try again when it is free.");
    case SQLITE_READONLY:
      throw StoreError(StoreFailure::kReadOnly, rc,
                       what + ": the database is read-only. Nothing was written.");
    case SQLITE_CONSTRAINT:
      throw StoreError(StoreFailure::kConstraint, rc,
                       what + ": " + ExplainConstraint(message) + ". Nothing was written.");
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      throw StoreError(StoreFailure::kOpen, rc, what + ": " + message + ".");
    default:
      throw StoreError(StoreFailure::kIo, rc, what + ": " + message + ".");
  }
}

// ---------------------------------------------------------------------------
// Statements

class RecordStore::Statement {
 public:
  Statement(const RecordStore& store, const char* sql, std::string_view doing)
      : store_(store), doing_(doing) {
    const int rc = sqlite3_prepare_v2(store.db_, sql, -1, &stmt_, nullptr);
    if (rc != SQLITE_OK) store_.Fail(rc, doing_);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  void Bind(int index, std::int64_t value) { Check(sqlite3_bind_int64(stmt_, index, value)); }
  void Bind(int index, const std::string& value) {
    Check(sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                            SQLITE_TRANSIENT));
  }
  void Bind(int index, const std::optional<std::string>& value) {
    if (value) {
      Bind(index, *value);
    } else {
      Check(sqlite3_bind_null(stmt_, index));
    }
  }

  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }

  // True while a row is there; false when done.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    store_.Fail(rc, doing_);
  }

  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::optional<std::string> Text(int column) const {
    if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return std::string(text != nullptr ? text : "", static_cast<std::size_t>(size));
  }

 private:
  void Check(int rc) {
    if (rc != SQLITE_OK) store_.Fail(rc, doing_);
  }

  const RecordStore& store_;
  std::string doing_;
  sqlite3_stmt* stmt_ = nullptr;
};

namespace {

// Rolls back unless Commit succeeded, so that a failure anywhere inside a
// write leaves the file as it was.
class Transaction {
 public:
  Transaction(sqlite3* db, const std::function<void(int)>& fail) : db_(db), fail_(fail) {
    const int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) fail_(rc);
  }
  ~Transaction() {
    if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void Commit() {
    const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    // A COMMIT that could not get its lock leaves the transaction open; the
    // destructor rolls it back.
    if (rc != SQLITE_OK) fail_(rc);
    done_ = true;
  }

 private:
  sqlite3* db_;
  const std::function<void(int)>& fail_;
  bool done_ = false;
};

struct SampleRow {
  const char* name;
  const char* born;
  const char* hired;
  const char* reviewed;
};

constexpr SampleRow kSampleRows[] = {
    {"Maria Alvarez", "1978-03-14", "2004-09-01", "2025-11-20"},
    {"Tom Becker", "1985-07-02", "2010-01-11", "2026-02-03"},
    {"Li Wei", "1990-12-30", "2015-06-15", nullptr},
    {"Grace Okafor", "1969-05-21", "1995-02-27", "2024-10-09"},
    {"Jonas Lind", "2001-02-28", "2023-08-14", nullptr},
    {"Priya Natarajan", "1982-11-05", "2008-04-01", "2026-06-30"},
};

// A write refused before it starts, on a database open read-only; after is
// what the message adds.
void RefuseWhenReadOnly(bool read_only, const std::string& doing, std::string_view after) {
  if (!read_only) return;
  throw StoreError(StoreFailure::kReadOnly, SQLITE_READONLY,
                   std::string(doing).append(": the database is open read-only.").append(after));
}

}  // namespace

// ---------------------------------------------------------------------------
// The store

std::string RecordStore::DefaultPath() {
  std::filesystem::path base;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  // A relative XDG_DATA_HOME is invalid by its own rules and is ignored.
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else if (home != nullptr && home[0] != '\0') {
    base = std::filesystem::path(home) / ".local" / "share";
  } else {
    base = std::filesystem::current_path();
  }
  return (base / "morlex-demo" / "people.sqlite").string();
}

RecordStore::RecordStore(const OpenOptions& options) : path_(options.path) {
  if (path_.empty()) throw StoreError(StoreFailure::kOpen, 0, "No database file was given.");
  const std::string opening = "Could not open " + path_;
  if (!options.read_only) {
    const std::filesystem::path parent = std::filesystem::path(path_).parent_path();
    std::error_code ec;
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  }
  const int flags =
      options.read_only ? SQLITE_OPEN_READONLY : (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  const int rc = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr);
  try {
    if (rc != SQLITE_OK) Fail(rc, opening);
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, options.busy_timeout_ms);

    bool has_table = false;
    {
      Statement query(*this,
                      "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                      "name = 'people'",
                      opening);
      has_table = query.Step() && query.Int(0) > 0;
    }
    if (!has_table) {
      if (ReadOnly() || !options.seed) {
        throw StoreError(StoreFailure::kOpen, 0,
                         opening + ": the file has no table \"people\"" +
                             (ReadOnly() ? " and is open read-only." : "."));
      }
      CreateSchema();
    }
    CheckSchema();
    for (DateColumn c : kDateColumns) {
      const std::string name(Info(c).name);
      const std::string sql = "WITH v(" + name + ") AS (SELECT ?1) SELECT ((" + CheckExpression(c) +
                              ") IS NOT 0) FROM v";
      sqlite3_stmt*& stmt = accepts_[static_cast<std::size_t>(c)];
      const int prc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr);
      if (prc != SQLITE_OK) Fail(prc, opening);
    }
  } catch (...) {
    for (sqlite3_stmt* stmt : accepts_) sqlite3_finalize(stmt);
    sqlite3_close(db_);
    db_ = nullptr;
    throw;
  }
}

RecordStore::~RecordStore() {
  for (sqlite3_stmt* stmt : accepts_) sqlite3_finalize(stmt);
  sqlite3_close(db_);
}

bool RecordStore::ReadOnly() const {
  return sqlite3_db_readonly(db_, "main") == 1;
}

void RecordStore::CreateSchema() {
  std::string sql =
      "CREATE TABLE people (\n"
      "  id INTEGER PRIMARY KEY,\n"
      "  name TEXT NOT NULL CONSTRAINT name_given CHECK (length(trim(name)) > 0)";
  for (DateColumn c : kDateColumns) {
    const std::string name(Info(c).name);
    sql += ",\n  " + name + " TEXT CONSTRAINT " + name + "_date CHECK (" + CheckExpression(c) + ")";
  }
  sql +=
      ",\n  CONSTRAINT hired_after_born CHECK (hired IS NULL OR born IS NULL OR hired > born)"
      ",\n  CONSTRAINT reviewed_after_hired CHECK (reviewed IS NULL OR hired IS NULL OR "
      "reviewed >= hired)\n)";
  const std::function<void(int)> fail = [this](int rc) { Fail(rc, "Could not create the table"); };
  Transaction transaction(db_, fail);
  const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) fail(rc);
  Seed();
  transaction.Commit();
  created_ = true;
}

void RecordStore::Seed() {
  Statement one(*this, "INSERT INTO people (name, born, hired, reviewed) VALUES (?1, ?2, ?3, ?4)",
                "Could not add the sample rows");
  for (const SampleRow& row : kSampleRows) {
    one.Reset();
    auto text = [](const char* s) {
      return s != nullptr ? std::optional<std::string>(s) : std::nullopt;
    };
    one.Bind(1, std::string(row.name));
    one.Bind(2, text(row.born));
    one.Bind(3, text(row.hired));
    one.Bind(4, text(row.reviewed));
    one.Step();
  }
}

void RecordStore::CheckSchema() const {
  // Preparing fails when a column is missing; the message names it.
  try {
    Statement probe(*this, "SELECT id, name, born, hired, reviewed FROM people LIMIT 0",
                    "The table \"people\" in " + path_ + " is not usable");
  } catch (const StoreError& e) {
    throw StoreError(StoreFailure::kOpen, e.sqlite_code(), e.description());
  }
}

std::vector<std::int64_t> RecordStore::Ids() const {
  Statement query(*this, "SELECT id FROM people ORDER BY id", "Could not list the records");
  std::vector<std::int64_t> ids;
  while (query.Step()) ids.push_back(query.Int(0));
  return ids;
}

Person RecordStore::Load(std::int64_t id) const {
  Statement query(*this, "SELECT name, born, hired, reviewed FROM people WHERE id = ?1",
                  "Could not read the record");
  query.Bind(1, id);
  if (!query.Step()) {
    throw StoreError(
        StoreFailure::kNoRecord, 0,
        "Could not read the record: record " + std::to_string(id) + " is no longer in the table.");
  }
  Person person;
  person.id = id;
  person.name = query.Text(0).value_or(std::string());
  for (DateColumn c : kDateColumns) person.SetDateText(c, query.Text(1 + static_cast<int>(c)));
  return person;
}

void RecordStore::Save(Person& person) {
  const std::string doing = "Could not save the record";
  RefuseWhenReadOnly(ReadOnly(), doing, " Nothing was written.");
  const std::function<void(int)> fail = [&](int rc) { Fail(rc, doing); };
  Transaction transaction(db_, fail);
  std::int64_t id = person.id;
  if (id == 0) {
    Statement insert(
        *this, "INSERT INTO people (name, born, hired, reviewed) VALUES (?1, ?2, ?3, ?4)", doing);
    insert.Bind(1, person.name);
    for (DateColumn c : kDateColumns) insert.Bind(2 + static_cast<int>(c), person.DateText(c));
    insert.Step();
    id = sqlite3_last_insert_rowid(db_);
  } else {
    Statement update(*this,
                     "UPDATE people SET name = ?1, born = ?2, hired = ?3, reviewed = ?4 "
                     "WHERE id = ?5",
                     doing);
    update.Bind(1, person.name);
    for (DateColumn c : kDateColumns) update.Bind(2 + static_cast<int>(c), person.DateText(c));
    update.Bind(5, id);
    update.Step();
    if (sqlite3_changes(db_) == 0) {
      throw StoreError(StoreFailure::kNoRecord, 0,
                       doing +
                           ": another program has deleted it. Nothing was written; "
                           "use New to store your edits as a new record.");
    }
  }
  transaction.Commit();
  person.id = id;
}

void RecordStore::Delete(std::int64_t id) {
  const std::string doing = "Could not delete the record";
  RefuseWhenReadOnly(ReadOnly(), doing, "");
  const std::function<void(int)> fail = [&](int rc) { Fail(rc, doing); };
  Transaction transaction(db_, fail);
  Statement remove(*this, "DELETE FROM people WHERE id = ?1", doing);
  remove.Bind(1, id);
  remove.Step();
  if (sqlite3_changes(db_) == 0) {
    throw StoreError(StoreFailure::kNoRecord, 0, doing + ": it is no longer in the table.");
  }
  transaction.Commit();
}

bool RecordStore::Accepts(DateColumn column, const std::optional<std::string>& value) const {
  sqlite3_stmt* stmt = accepts_[static_cast<std::size_t>(column)];
  sqlite3_reset(stmt);
  if (value) {
    sqlite3_bind_text(stmt, 1, value->data(), static_cast<int>(value->size()), SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_null(stmt, 1);
  }
  const int rc = sqlite3_step(stmt);
  const bool accepted = rc == SQLITE_ROW && sqlite3_column_int(stmt, 0) != 0;
  const int done = rc == SQLITE_ROW ? SQLITE_OK : rc;
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  if (done != SQLITE_OK) Fail(done, "Could not check the value");
  return accepted;
}

}  // namespace morlex::demo
