#include "record_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

#include "demo_fixture.h"

namespace morlex::demo {
namespace {

using testing::RawDb;
using testing::TempDir;

TEST(IsoDate, RoundTripsEveryDayOfFourCenturies) {
  for (std::int32_t serial = ToSerial({1800, 1, 1}); serial <= ToSerial({2200, 12, 31}); ++serial) {
    const Date date = FromSerial(serial);
    const std::optional<Date> back = FromIso(ToIso(date));
    ASSERT_TRUE(back.has_value()) << ToIso(date);
    ASSERT_EQ(*back, date);
  }
  EXPECT_EQ(ToIso({100, 1, 2}), "0100-01-02");
  EXPECT_EQ(ToIso({9999, 12, 31}), "9999-12-31");
}

TEST(IsoDate, RejectsEverythingButExactIso) {
  const char* rejected[] = {"",           "1999-2-05",  "1999-02-5",  "1999/02/05",  "1999-02-30",
                            "1999-13-01", "1999-00-10", "0099-12-31", " 1999-02-05", "1999-02-05 ",
                            "+999-02-05", "1999-02-0a", "02/05/1999", "1999-02-051", "19990205"};
  for (const char* text : rejected) EXPECT_FALSE(FromIso(text).has_value()) << text;
  EXPECT_EQ(FromIso("2000-02-29"), (Date{2000, 2, 29}));
  EXPECT_FALSE(FromIso("1900-02-29").has_value());
}

TEST(RecordStoreOpen, CreatesFolderTableAndSampleRowsOnce) {
  TempDir dir;
  const std::string path = dir.File("nested/deeper/people.sqlite");
  std::vector<std::int64_t> first_ids;
  {
    RecordStore store({.path = path});
    EXPECT_TRUE(store.Created());
    EXPECT_FALSE(store.ReadOnly());
    first_ids = store.Ids();
    EXPECT_EQ(first_ids.size(), 6u);
    // Every sample row satisfies the table's own rules.
    for (std::int64_t id : first_ids) {
      const Person p = store.Load(id);
      EXPECT_FALSE(p.name.empty());
      for (DateColumn c : kDateColumns) EXPECT_TRUE(store.Accepts(c, p.DateText(c)));
    }
  }
  RecordStore again({.path = path});
  EXPECT_FALSE(again.Created());
  EXPECT_EQ(again.Ids(), first_ids);
}

TEST(RecordStoreOpen, DefaultPathFollowsTheDataFolderRules) {
  struct Case {
    const char* xdg;  // nullptr: unset
    const char* home;
    std::string expected;
  };
  const Case cases[] = {
      {"/data/x", "/home/u", "/data/x/morlex-demo/people.sqlite"},
      {nullptr, "/home/u", "/home/u/.local/share/morlex-demo/people.sqlite"},
      {"", "/home/u", "/home/u/.local/share/morlex-demo/people.sqlite"},
      // A relative XDG_DATA_HOME is invalid and ignored.
      {"relative/dir", "/home/u", "/home/u/.local/share/morlex-demo/people.sqlite"},
  };
  const char* old_xdg = std::getenv("XDG_DATA_HOME");
  const char* old_home = std::getenv("HOME");
  const std::optional<std::string> saved_xdg =
      old_xdg ? std::optional<std::string>(old_xdg) : std::nullopt;
  const std::optional<std::string> saved_home =
      old_home ? std::optional<std::string>(old_home) : std::nullopt;
  for (const Case& c : cases) {
    if (c.xdg) {
      setenv("XDG_DATA_HOME", c.xdg, 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
    setenv("HOME", c.home, 1);
    EXPECT_EQ(RecordStore::DefaultPath(), c.expected) << (c.xdg ? c.xdg : "(unset)");
  }
  if (saved_xdg) {
    setenv("XDG_DATA_HOME", saved_xdg->c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
  if (saved_home) setenv("HOME", saved_home->c_str(), 1);
}

TEST(RecordStoreOpen, UnusableFilesAreRefusedWithAReason) {
  TempDir dir;
  // Not a database at all.
  const std::string junk = dir.File("junk.sqlite");
  std::ofstream(junk) << "this is not a database, just text that is long enough to matter\n";
  testing::ExpectStoreError([&] { RecordStore store({.path = junk}); }, StoreFailure::kOpen,
                            "junk.sqlite");
  // A database with a "people" table of another shape.
  const std::string other = dir.File("other.sqlite");
  {
    RawDb raw(other);
    ASSERT_EQ(raw.Exec("CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT)"), SQLITE_OK);
  }
  testing::ExpectStoreError([&] { RecordStore store({.path = other}); }, StoreFailure::kOpen,
                            "born");
  // An empty database opened read-only cannot get its table.
  const std::string empty = dir.File("empty.sqlite");
  {
    RawDb raw(empty);
    ASSERT_EQ(raw.Exec("CREATE TABLE other (x)"), SQLITE_OK);
  }
  testing::ExpectStoreError([&] { RecordStore store({.path = empty, .read_only = true}); },
                            StoreFailure::kOpen, "read-only");
  // Read-only open of a file that does not exist creates nothing.
  EXPECT_THROW(RecordStore({.path = dir.File("missing.sqlite"), .read_only = true}), StoreError);
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.sqlite")));
}

// Accepts must give the table's own verdict: every value it admits, the
// table stores; every value it refuses, the table refuses.
TEST(RecordStoreConstraints, AcceptsAgreesWithTheTable) {
  struct Case {
    DateColumn column;
    std::optional<std::string> value;
    bool accepted;
  };
  const Case cases[] = {
      {DateColumn::kBorn, std::nullopt, true},     {DateColumn::kBorn, "1999-01-05", true},
      {DateColumn::kBorn, "1900-01-01", true},     {DateColumn::kBorn, "1899-12-31", false},
      {DateColumn::kBorn, "2029-12-31", true},     {DateColumn::kBorn, "2030-01-01", false},
      {DateColumn::kBorn, "1999-02-29", false},    {DateColumn::kBorn, "2000-02-29", true},
      {DateColumn::kBorn, "1999-02-30", false},    {DateColumn::kBorn, "1999-2-5", false},
      {DateColumn::kBorn, "01/05/1999", false},    {DateColumn::kBorn, "", false},
      {DateColumn::kBorn, "1999-01-05 ", false},   {DateColumn::kHired, "1949-12-31", false},
      {DateColumn::kHired, "2099-12-31", true},    {DateColumn::kReviewed, "2100-01-01", false},
      {DateColumn::kReviewed, "2035-03-01", true},
  };
  TempDir dir;
  const std::string path = dir.File("people.sqlite");
  RecordStore store({.path = path});
  const std::int64_t id = store.Ids().front();
  RawDb raw(path);
  for (const Case& c : cases) {
    const std::string shown = c.value.value_or("NULL");
    EXPECT_EQ(store.Accepts(c.column, c.value), c.accepted) << Info(c.column).name << " " << shown;
    // The same value through the table: only the one column changes, and
    // the other dates are cleared so that only this column's rule speaks.
    const std::string sql = "UPDATE people SET born = NULL, hired = NULL, reviewed = NULL, " +
                            std::string(Info(c.column).name) + " = " +
                            (c.value ? "'" + *c.value + "'" : std::string("NULL")) +
                            " WHERE id = " + std::to_string(id);
    const int rc = raw.Exec(sql);
    EXPECT_EQ(rc == SQLITE_OK, c.accepted) << sql;
  }
}

class RecordStoreWrite : public ::testing::Test {
 protected:
  RecordStoreWrite() : path_(dir_.File("people.sqlite")) {
    RecordStore seed({.path = path_});
    first_ = seed.Ids().front();
  }
  TempDir dir_;
  std::string path_;
  std::int64_t first_ = 0;
};

TEST_F(RecordStoreWrite, InsertUpdateDeleteRoundTrip) {
  RecordStore store({.path = path_});
  Person p;
  p.name = "Zoë Ångström";
  p.SetDate(DateColumn::kBorn, Date{1970, 1, 1});
  store.Save(p);
  ASSERT_NE(p.id, 0);
  EXPECT_EQ(store.Ids().back(), p.id);
  Person back = store.Load(p.id);
  EXPECT_EQ(back, p);
  EXPECT_FALSE(back.DateText(DateColumn::kHired).has_value());

  back.SetDate(DateColumn::kHired, Date{1999, 12, 31});
  store.Save(back);
  EXPECT_EQ(store.Load(p.id).DateText(DateColumn::kHired), "1999-12-31");

  store.Delete(p.id);
  testing::ExpectStoreError([&] { store.Load(p.id); }, StoreFailure::kNoRecord);
  EXPECT_THROW(store.Delete(p.id), StoreError);
}

// Each way a save can fail: the file keeps its last good state, the record
// in memory is untouched, and the error says why.
TEST_F(RecordStoreWrite, FailedSavesLeaveTheFileAsItWas) {
  struct Case {
    const char* what;
    void (*edit)(Person&);
    StoreFailure kind;
    const char* says;
  };
  const Case cases[] = {
      {"hired before born",
       [](Person& p) {
         p.SetDate(DateColumn::kBorn, Date{1990, 5, 1});
         p.SetDate(DateColumn::kHired, Date{1980, 5, 1});
       },
       StoreFailure::kConstraint, "Hired must come after Born"},
      {"reviewed before hired",
       [](Person& p) {
         p.SetDate(DateColumn::kHired, Date{2010, 5, 1});
         p.SetDate(DateColumn::kReviewed, Date{2009, 5, 1});
       },
       StoreFailure::kConstraint, "Reviewed must not come before Hired"},
      {"blank name", [](Person& p) { p.name = "   "; }, StoreFailure::kConstraint,
       "the name must not be empty"},
      {"born out of range", [](Person& p) { p.SetDateText(DateColumn::kBorn, "1850-01-05"); },
       StoreFailure::kConstraint, "Born must be a date from 1900-01-01 to 2029-12-31"},
      {"half-typed text", [](Person& p) { p.SetDateText(DateColumn::kBorn, "1/5/19"); },
       StoreFailure::kConstraint, "Born must be a date"},
  };
  RecordStore store({.path = path_});
  RawDb raw(path_);
  const std::string before = raw.Dump();
  for (const Case& c : cases) {
    Person p = store.Load(first_);
    c.edit(p);
    const Person edited = p;
    try {
      store.Save(p);
      ADD_FAILURE() << c.what << ": saved";
    } catch (const StoreError& e) {
      EXPECT_EQ(e.kind(), c.kind) << c.what;
      EXPECT_NE(e.description().find(c.says), std::string::npos) << e.description();
      EXPECT_NE(e.description().find("Nothing was written"), std::string::npos);
    }
    EXPECT_EQ(p, edited) << c.what;
    EXPECT_EQ(raw.Dump(), before) << c.what;
    // No transaction is left open behind: a plain save works right after.
    Person ok = store.Load(first_);
    store.Save(ok);
  }
  // A new record that fails is not inserted and keeps id 0.
  Person fresh;
  fresh.name = "";
  EXPECT_THROW(store.Save(fresh), StoreError);
  EXPECT_EQ(fresh.id, 0);
  EXPECT_EQ(raw.Dump(), before);
}

TEST_F(RecordStoreWrite, LockedByAnotherConnection) {
  RecordStore store({.path = path_, .busy_timeout_ms = 50});
  RawDb other(path_);
  const std::string before = other.Dump();
  ASSERT_EQ(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
  ASSERT_EQ(other.Exec("UPDATE people SET name = 'held' WHERE id = " + std::to_string(first_)),
            SQLITE_OK);

  // Reading still works while the other only holds its write lock.
  Person p = store.Load(first_);
  EXPECT_NE(p.name, "held");
  p.SetDate(DateColumn::kReviewed, Date{2026, 12, 8});
  try {
    store.Save(p);
    FAIL() << "saved through another connection's lock";
  } catch (const StoreError& e) {
    EXPECT_EQ(e.kind(), StoreFailure::kLocked);
    EXPECT_EQ(e.sqlite_code() & 0xff, SQLITE_BUSY);
    EXPECT_NE(e.description().find("locked by another program"), std::string::npos);
  }
  EXPECT_THROW(store.Delete(first_), StoreError);
  Person fresh;
  fresh.name = "Nobody";
  EXPECT_THROW(store.Save(fresh), StoreError);
  EXPECT_EQ(fresh.id, 0);

  ASSERT_EQ(other.Exec("ROLLBACK"), SQLITE_OK);
  EXPECT_EQ(other.Dump(), before);
  // Once the lock is gone the same record saves.
  store.Save(p);
  EXPECT_EQ(other.Value("SELECT reviewed FROM people WHERE id = " + std::to_string(first_)),
            "2026-12-08");
}

TEST_F(RecordStoreWrite, ReadOnlyOpenReadsButNeverWrites) {
  RecordStore store({.path = path_, .read_only = true});
  EXPECT_TRUE(store.ReadOnly());
  RawDb raw(path_);
  const std::string before = raw.Dump();
  Person p = store.Load(first_);
  p.name = "Changed";
  testing::ExpectStoreError([&] { store.Save(p); }, StoreFailure::kReadOnly, "read-only");
  EXPECT_THROW(store.Delete(first_), StoreError);
  EXPECT_EQ(raw.Dump(), before);
  // Checking a value needs no write access.
  EXPECT_TRUE(store.Accepts(DateColumn::kBorn, "1999-01-05"));
}

// A file the process may not write is opened read-only by SQLite itself.
// Root may write any file, so there is nothing to see when running as root.
TEST_F(RecordStoreWrite, WriteProtectedFileOpensReadOnly) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes write-protected files";
  std::filesystem::permissions(path_, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::group_read |
                                          std::filesystem::perms::others_read);
  RecordStore store({.path = path_});
  EXPECT_TRUE(store.ReadOnly());
  Person p = store.Load(first_);
  p.name = "Changed";
  EXPECT_THROW(store.Save(p), StoreError);
  std::filesystem::permissions(path_, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

TEST_F(RecordStoreWrite, UpdateOfARowDeletedMeanwhileInsertsNothing) {
  RecordStore store({.path = path_});
  Person p = store.Load(first_);
  RawDb other(path_);
  ASSERT_EQ(other.Exec("DELETE FROM people WHERE id = " + std::to_string(first_)), SQLITE_OK);
  const std::string before = other.Dump();
  testing::ExpectStoreError([&] { store.Save(p); }, StoreFailure::kNoRecord);
  EXPECT_EQ(other.Dump(), before);
}

// A file made by another program may hold dates in any form; they come back
// as they are and go back unchanged.
TEST(RecordStoreForeign, ValuesThatAreNoIsoDatesAreKeptAsStored) {
  TempDir dir;
  const std::string path = dir.File("foreign.sqlite");
  {
    RawDb raw(path);
    ASSERT_EQ(raw.Exec("CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT NOT NULL, "
                       "born TEXT, hired TEXT, reviewed TEXT);"
                       "INSERT INTO people VALUES (1, 'Old', '5 Jan 1999', '2001-02-03', NULL)"),
              SQLITE_OK);
  }
  RecordStore store({.path = path});
  EXPECT_FALSE(store.Created());
  Person p = store.Load(1);
  EXPECT_EQ(p.DateText(DateColumn::kBorn), "5 Jan 1999");
  p.name = "Older";
  store.Save(p);
  EXPECT_EQ(store.Load(1).DateText(DateColumn::kBorn), "5 Jan 1999");
}

}  // namespace
}  // namespace morlex::demo
