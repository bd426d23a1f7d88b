#include "record_editor.h"

#include <gtest/gtest.h>

#include "demo_fixture.h"

namespace morlex::demo {
namespace {

using testing::BoundField;
using testing::RawDb;
using testing::TempDir;

class Editor : public ::testing::Test {
 protected:
  Editor()
      : path_(dir_.File("people.sqlite")),
        store_({.path = path_, .busy_timeout_ms = 50}),
        editor_(store_),
        born_(editor_, DateColumn::kBorn, 0, clock_) {
    editor_.on_record_changed = [this] { ++changes_; };
    ids_ = store_.Ids();
  }

  platform::FixedClock clock_{Date{2026, 12, 8}};
  TempDir dir_;
  std::string path_;
  RecordStore store_;
  RecordEditor editor_;
  BoundField born_;
  std::vector<std::int64_t> ids_;
  int changes_ = 0;
};

TEST_F(Editor, NavigationWalksTheRowsAndStopsAtTheEnds) {
  struct Step {
    Move move;
    bool moved;
    int position;  // after the step
  };
  const Step steps[] = {
      {Move::kFirst, true, 0},    {Move::kPrevious, false, 0}, {Move::kNext, true, 1},
      {Move::kNext, true, 2},     {Move::kLast, true, 5},      {Move::kNext, false, 5},
      {Move::kPrevious, true, 4}, {Move::kFirst, true, 0},
  };
  EXPECT_EQ(editor_.PositionText(), "No record");
  for (const Step& s : steps) {
    EXPECT_EQ(editor_.Go(s.move), s.moved);
    EXPECT_EQ(editor_.Position(), s.position);
    EXPECT_EQ(editor_.Buffer().id, ids_[static_cast<std::size_t>(s.position)]);
  }
  EXPECT_EQ(editor_.PositionText(), "Record 1 of 6");
  EXPECT_EQ(born_.Text(), u"03/14/1978");
}

TEST_F(Editor, UnsavedEditsBlockNavigationUntilDiscarded) {
  editor_.Go(Move::kFirst);
  struct Edit {
    const char* what;
    std::function<void()> make;
  };
  const Edit edits[] = {
      {"name", [&] { editor_.SetName("Renamed"); }},
      {"committed date",
       [&] {
         born_.Retype(u"1/1/1990");
         born_.Leave();
       }},
      {"date still being typed", [&] { born_.Retype(u"1/1/19"); }},
      {"invalid date",
       [&] {
         born_.Retype(u"2/30/1990");
         born_.Leave();
       }},
  };
  for (const Edit& e : edits) {
    e.make();
    EXPECT_TRUE(editor_.Dirty()) << e.what;
    EXPECT_THROW(editor_.Go(Move::kNext), Error) << e.what;
    EXPECT_THROW(editor_.New(), Error) << e.what;
    EXPECT_EQ(editor_.Position(), 0) << e.what;
    ASSERT_TRUE(editor_.Go(Move::kNext, /*discard_edits=*/true)) << e.what;
    EXPECT_FALSE(editor_.Dirty()) << e.what;
    editor_.Go(Move::kFirst);
    // The file never saw the edit.
    EXPECT_EQ(editor_.Buffer().name, "Maria Alvarez") << e.what;
    EXPECT_EQ(born_.Text(), u"03/14/1978") << e.what;
  }
}

TEST_F(Editor, RevertShowsTheFilesValuesAgain) {
  editor_.Go(Move::kFirst);
  editor_.SetName("Changed");
  born_.Retype(u"2/2/1992");
  born_.Leave();
  ASSERT_TRUE(editor_.Dirty());
  editor_.Revert();
  EXPECT_FALSE(editor_.Dirty());
  EXPECT_EQ(editor_.Buffer().name, "Maria Alvarez");
  EXPECT_EQ(born_.Text(), u"03/14/1978");
}

TEST_F(Editor, NewRecordIsStoredOnlyBySave) {
  editor_.Go(Move::kLast);
  editor_.New();
  EXPECT_TRUE(editor_.IsNew());
  EXPECT_EQ(editor_.PositionText(), "New record");
  EXPECT_EQ(born_.Text(), u"");
  EXPECT_TRUE(born_.binding.CanChange("Text"));
  // Previous from a new record goes to the last row; Next has nowhere to go.
  EXPECT_FALSE(editor_.Go(Move::kNext));
  EXPECT_TRUE(editor_.IsNew());

  editor_.SetName("Ines Duarte");
  born_.Retype(u"4/9/1994");
  born_.Leave();
  EXPECT_EQ(store_.Ids().size(), 6u);
  editor_.Save();
  EXPECT_FALSE(editor_.IsNew());
  EXPECT_EQ(editor_.PositionText(), "Record 7 of 7");
  RawDb raw(path_);
  EXPECT_EQ(raw.Value("SELECT born FROM people WHERE name = 'Ines Duarte'"), "1994-04-09");
  EXPECT_TRUE(editor_.Go(Move::kPrevious));
  EXPECT_EQ(editor_.Position(), 5);
}

TEST_F(Editor, NewRecordWithoutANameIsRefusedAndKept) {
  editor_.New();
  born_.Retype(u"4/9/1994");
  born_.Leave();
  testing::ExpectStoreError([&] { editor_.Save(); }, StoreFailure::kConstraint,
                            "name must not be empty");
  EXPECT_TRUE(editor_.IsNew());
  EXPECT_EQ(born_.Text(), u"04/09/1994");
  EXPECT_EQ(store_.Ids().size(), 6u);
}

TEST_F(Editor, DeleteMovesToTheNextThenThePreviousThenNone) {
  editor_.Go(Move::kFirst);
  editor_.Go(Move::kNext);  // second row
  editor_.Delete();
  EXPECT_EQ(editor_.Buffer().id, ids_[2]);
  EXPECT_EQ(editor_.PositionText(), "Record 2 of 5");
  editor_.Go(Move::kLast);
  editor_.Delete();
  EXPECT_EQ(editor_.Buffer().id, ids_[4]);
  while (editor_.HasRecord()) editor_.Delete();
  EXPECT_EQ(editor_.PositionText(), "No record");
  EXPECT_EQ(born_.Text(), u"");
  EXPECT_FALSE(born_.binding.CanChange("Text"));
  EXPECT_THROW(editor_.Delete(), Error);
  RawDb raw(path_);
  EXPECT_EQ(raw.Value("SELECT count(*) FROM people"), "0");
}

TEST_F(Editor, DeleteOfANewRecordOnlyDropsIt) {
  editor_.Go(Move::kLast);
  editor_.New();
  editor_.Delete();
  EXPECT_EQ(editor_.Buffer().id, ids_.back());
  EXPECT_EQ(store_.Ids().size(), 6u);
}

TEST_F(Editor, LockedDeleteKeepsTheRecord) {
  editor_.Go(Move::kFirst);
  RawDb other(path_);
  ASSERT_EQ(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
  EXPECT_THROW(editor_.Delete(), StoreError);
  EXPECT_EQ(editor_.Buffer().id, ids_.front());
  ASSERT_EQ(other.Exec("ROLLBACK"), SQLITE_OK);
  EXPECT_EQ(store_.Ids().size(), 6u);
}

}  // namespace
}  // namespace morlex::demo
