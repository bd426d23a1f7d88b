#include "field_binding.h"

#include <gtest/gtest.h>

#include "demo_fixture.h"

namespace morlex::demo {
namespace {

using testing::BoundField;
using testing::RawDb;
using testing::TempDir;

std::string Iso(const std::optional<std::string>& v) {
  return v.value_or("NULL");
}

// Three fields in three patterns over the first seeded row:
// Maria Alvarez, born 1978-03-14, hired 2004-09-01, reviewed 2025-11-20.
class BoundForm : public ::testing::Test {
 protected:
  explicit BoundForm(bool read_only = false)
      : path_(dir_.File("people.sqlite")),
        seeded_(Seed(path_)),
        store_({.path = path_, .read_only = read_only, .busy_timeout_ms = 50}),
        editor_(store_),
        born_(editor_, DateColumn::kBorn, 0, clock_),         // mm/dd/yyyy
        hired_(editor_, DateColumn::kHired, 2, clock_),       // m/d/yyyy
        reviewed_(editor_, DateColumn::kReviewed, 1, clock_)  // mm/dd/yy
  {
    for (BoundField* f : {&born_, &hired_, &reviewed_}) {
      f->binding.on_notice = [this](const Notice& n) { notices_.push_back(n); };
    }
    editor_.Go(Move::kFirst);
    notices_.clear();
  }

  static bool Seed(const std::string& path) {
    RecordStore seed({.path = path});
    return seed.Created();
  }

  BoundField& Field(DateColumn c) {
    switch (c) {
      case DateColumn::kBorn:
        return born_;
      case DateColumn::kHired:
        return hired_;
      case DateColumn::kReviewed:
        break;
    }
    return reviewed_;
  }
  std::string Buffered(DateColumn c) { return Iso(editor_.Buffer().DateText(c)); }
  std::string InFile(DateColumn c) {
    RawDb raw(path_);
    return raw
        .Value("SELECT " + std::string(Info(c).name) +
               " FROM people WHERE id = " + std::to_string(editor_.Buffer().id))
        .value_or("NULL");
  }
  std::string Dump() {
    RawDb raw(path_);
    return raw.Dump();
  }
  std::vector<Notice::Kind> Kinds() const {
    std::vector<Notice::Kind> kinds;
    for (const Notice& n : notices_) kinds.push_back(n.kind);
    return kinds;
  }

  platform::FixedClock clock_{Date{2026, 12, 8}};
  TempDir dir_;
  std::string path_;
  bool seeded_;
  RecordStore store_;
  RecordEditor editor_;
  BoundField born_;
  BoundField hired_;
  BoundField reviewed_;
  std::vector<Notice> notices_;
};

TEST_F(BoundForm, ShowsTheRecordInEachFieldsPattern) {
  EXPECT_EQ(born_.Text(), u"03/14/1978");
  EXPECT_EQ(hired_.Text(), u"9/1/2004");
  EXPECT_EQ(reviewed_.Text(), u"11/20/25");
  for (DateColumn c : kDateColumns) EXPECT_EQ(Field(c).binding.State(), FieldState::kShowsValue);
  EXPECT_FALSE(editor_.Dirty());
}

TEST_F(BoundForm, TypingNeverReachesTheBufferOrTheFile) {
  const std::string before = Dump();
  const std::u16string keys = u"1/5/185";
  born_.Retype(u"");
  for (char16_t ch : keys) {
    born_.Type(std::u16string(1, ch));
    EXPECT_EQ(Buffered(DateColumn::kBorn), "1978-03-14") << "after " << char(ch);
  }
  EXPECT_EQ(born_.Text(), u"1/5/185");
  EXPECT_EQ(born_.binding.State(), FieldState::kEditing);  // year 185 reads as a date
  EXPECT_TRUE(editor_.Dirty());
  for (const Notice& n : notices_) {
    EXPECT_TRUE(n.kind == Notice::Kind::kChange || n.kind == Notice::Kind::kKey) << Describe(n);
  }
  EXPECT_FALSE(born_.events->Saw("DateError"));
  EXPECT_EQ(Dump(), before);
}

// The user types, then leaves the field (or presses Enter): the text is
// rendered in the field's pattern and its value goes into the buffer, not
// into the file.
TEST_F(BoundForm, CommitsStageCompleteDatesAndEmptyText) {
  struct Case {
    DateColumn column;
    std::u16string typed;
    bool enter;  // commit with Enter instead of leaving
    std::u16string shown;
    std::string staged;
  };
  const Case cases[] = {
      {DateColumn::kBorn, u"1/5/99", false, u"01/05/1999", "1999-01-05"},
      {DateColumn::kBorn, u"7/4/76", true, u"07/04/1976", "1976-07-04"},
      {DateColumn::kBorn, u"13/5/1999", false, u"05/13/1999", "1999-05-13"},
      {DateColumn::kBorn, u"2/29/2000", true, u"02/29/2000", "2000-02-29"},
      {DateColumn::kBorn, u"", false, u"", "NULL"},
      {DateColumn::kHired, u"12/25/20", false, u"12/25/2020", "2020-12-25"},
      {DateColumn::kHired, u"3/4", true, u"3/4/2026", "2026-03-04"},
      {DateColumn::kReviewed, u"6/30/29", false, u"06/30/29", "2029-06-30"},
      {DateColumn::kReviewed, u"", true, u"", "NULL"},
  };
  for (const Case& c : cases) {
    editor_.Revert();
    BoundField& f = Field(c.column);
    const std::string in_file = InFile(c.column);
    f.events->lines.clear();
    f.Retype(c.typed.empty() ? u"\b" : c.typed);
    if (c.enter) {
      f.Enter();
    } else {
      f.Leave();
    }
    const std::string what = std::string(Info(c.column).name) + " " + ToUtf8(c.typed);
    EXPECT_EQ(f.Text(), c.shown) << what;
    EXPECT_EQ(Buffered(c.column), c.staged) << what;
    EXPECT_EQ(f.binding.State(), FieldState::kShowsValue) << what;
    EXPECT_FALSE(f.events->Saw("DateError")) << what;
    EXPECT_FALSE(f.events->Saw("DateInvalid")) << what;
    EXPECT_EQ(InFile(c.column), in_file) << what << ": written before Save";
    EXPECT_TRUE(editor_.Dirty()) << what;
  }
  // Save writes what was committed last, in ISO form.
  editor_.Save();
  EXPECT_EQ(InFile(DateColumn::kReviewed), "NULL");
  EXPECT_FALSE(editor_.Dirty());
}

// Commits the host must not take: the field keeps the text, the buffer and
// the file keep their value, and a save is refused with the reason.
TEST_F(BoundForm, RefusedCommitsKeepTextBufferAndFile) {
  struct Case {
    DateColumn column;
    std::u16string typed;
    bool invalid;  // DateInvalid (not a date) rather than a refused value
    FieldState state;
    std::string says;  // the error's description (DateError, then Save)
  };
  const Case cases[] = {
      {DateColumn::kBorn, u"2/30/1999", true, FieldState::kInvalid,
       "Born: \"2/30/1999\" is not a date."},
      {DateColumn::kBorn, u"1/5/1850", false, FieldState::kRefused,
       "Born must be a date from 01/01/1900 to 12/31/2029."},
      {DateColumn::kBorn, u"1/5/2031", false, FieldState::kRefused,
       "Born must be a date from 01/01/1900 to 12/31/2029."},
      // Two digits read inside 1930..2029: 35 is 1935, before the range.
      {DateColumn::kReviewed, u"3/1/35", false, FieldState::kRefused,
       "Reviewed must be a date from 01/01/1950 to 12/31/2099."},
      {DateColumn::kHired, u"12/31/1949", false, FieldState::kRefused,
       "Hired must be a date from 1/1/1950 to 12/31/2099."},
      {DateColumn::kHired, u"4/31/2001", true, FieldState::kInvalid,
       "Hired: \"4/31/2001\" is not a date."},
  };
  const std::string before = Dump();
  for (const Case& c : cases) {
    editor_.Revert();
    BoundField& f = Field(c.column);
    const std::string buffered = Buffered(c.column);
    f.events->lines.clear();
    f.Retype(c.typed);
    f.Leave();
    const std::string what = ToUtf8(c.typed);
    const std::u16string kept = f.Text();
    if (c.invalid) {
      EXPECT_EQ(kept, c.typed) << what;
      EXPECT_EQ(f.events->lines.back(), "DateInvalid") << what;
      EXPECT_FALSE(f.events->Saw("DateError")) << what;
    } else {
      ASSERT_FALSE(f.events->lines.empty()) << what;
      EXPECT_EQ(f.events->lines.back(),
                "DateError MorlexDate.ValidateAndUpdate | Could not update recordset. | " + c.says)
          << what;
      EXPECT_FALSE(f.events->Saw("DateInvalid")) << what;
    }
    EXPECT_EQ(f.binding.State(), c.state) << what;
    EXPECT_EQ(Buffered(c.column), buffered) << what;
    EXPECT_TRUE(editor_.Dirty()) << what;
    try {
      editor_.Save();
      ADD_FAILURE() << what << ": saved";
    } catch (const Error& e) {
      EXPECT_EQ(e.description(), c.says) << what;
    }
    EXPECT_EQ(f.Text(), kept) << what;
    EXPECT_EQ(Dump(), before) << what;
  }
}

// Before every key the field tells the host that "Text" changed, with the
// text as it is. Those notices must never be taken as a commit: a throw
// there would abort the key.
TEST_F(BoundForm, NoticesBeforeKeysNeverCommitNorThrow) {
  born_.Retype(u"1/5/1850");
  born_.Enter();
  ASSERT_EQ(born_.binding.State(), FieldState::kRefused);
  notices_.clear();
  // The notice the key handler gives, with the focus in the field.
  born_.binding.NoteKeyPress('9');
  EXPECT_NO_THROW(born_.site.NotifyChanged("Text"));
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_EQ(notices_[0].kind, Notice::Kind::kKey);
  EXPECT_EQ(Buffered(DateColumn::kBorn), "1978-03-14");
  // The same notice inside Enter is the commit, and is refused again.
  born_.binding.NoteKeyPress(13);
  EXPECT_THROW(born_.site.NotifyChanged("Text"), Error);
  // Typing on, the user repairs the year; leaving commits it.
  born_.Retype(u"1/5/1950");
  born_.Leave();
  EXPECT_EQ(Buffered(DateColumn::kBorn), "1950-01-05");
  EXPECT_EQ(born_.binding.State(), FieldState::kShowsValue);
}

// The host writes Text itself: it is a commit like any other.
TEST_F(BoundForm, TextPropertyWritesCommit) {
  born_.control.SetText(u"2/2/1962");
  EXPECT_EQ(Buffered(DateColumn::kBorn), "1962-02-02");
  // The property has no error trap: the refusal reaches the caller.
  try {
    born_.control.SetText(u"2/2/1862");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), "Born must be a date from 01/01/1900 to 12/31/2029.");
    EXPECT_EQ(e.source(), "people.born");
  }
  EXPECT_EQ(Buffered(DateColumn::kBorn), "1962-02-02");
}

// A two-digit year read back would move a date by a century; a value the
// form showed stands for itself.
TEST_F(BoundForm, TwoDigitYearsKeepTheirCentury) {
  {
    RawDb raw(path_);
    ASSERT_EQ(raw.Exec("UPDATE people SET born = '1920-01-05', reviewed = '2035-03-01' WHERE "
                       "id = " +
                       std::to_string(editor_.Buffer().id)),
              SQLITE_OK);
  }
  editor_.GoTo(editor_.Buffer().id);
  EXPECT_EQ(reviewed_.Text(), u"03/01/35");  // reads as 1935
  reviewed_.Focus();
  reviewed_.Leave();
  EXPECT_EQ(Buffered(DateColumn::kReviewed), "2035-03-01");
  EXPECT_FALSE(reviewed_.events->Saw("DateError"));
  EXPECT_FALSE(editor_.Dirty());

  born_.binding.ApplyDateFormat(1);
  EXPECT_EQ(born_.Text(), u"01/05/20");
  born_.Focus();
  born_.Leave();
  EXPECT_EQ(Buffered(DateColumn::kBorn), "1920-01-05");
  born_.binding.ApplyDateFormat(0);
  EXPECT_EQ(born_.Text(), u"01/05/1920");
  EXPECT_FALSE(editor_.Dirty());
  editor_.Save();
  EXPECT_EQ(InFile(DateColumn::kBorn), "1920-01-05");
  EXPECT_EQ(InFile(DateColumn::kReviewed), "2035-03-01");
}

// A date typed with its century and then rendered into a two-digit-year
// pattern reads back a century off (6/30/2031 shows as 6/30/31, which reads
// as 1931); what the user typed is what is stored.
TEST_F(BoundForm, RenderingIntoATwoDigitYearKeepsTheTypedCentury) {
  hired_.Retype(u"6/30/2031");
  hired_.binding.ApplyDateFormat(3);  // m/d/yy, while the text is not committed
  EXPECT_EQ(hired_.Text(), u"6/30/31");
  hired_.Leave();
  EXPECT_FALSE(hired_.events->Saw("DateError"));
  EXPECT_EQ(Buffered(DateColumn::kHired), "2031-06-30");
  // Typed afresh in the short pattern, a year is read in the window: 32 is
  // 1932, before the column's range.
  hired_.Retype(u"6/30/32");
  hired_.Leave();
  EXPECT_TRUE(hired_.events->Saw("DateError"));
  EXPECT_EQ(Buffered(DateColumn::kHired), "2031-06-30");
}

TEST_F(BoundForm, SaveCommitsTextStillBeingTyped) {
  born_.Retype(u"6/6/1966");  // focus stays in the field
  editor_.Save();
  EXPECT_EQ(InFile(DateColumn::kBorn), "1966-06-06");
  EXPECT_FALSE(editor_.Dirty());
}

// Storage failures at save: nothing in the file changes, and the form keeps
// every edit, so that a second save after the cause is gone succeeds.
TEST_F(BoundForm, StorageFailuresLoseNothing) {
  const std::string before = Dump();
  born_.Retype(u"1/5/1999");
  born_.Leave();
  hired_.Retype(u"2/1/2021");
  hired_.Leave();

  RawDb other(path_);
  ASSERT_EQ(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
  testing::ExpectStoreError([&] { editor_.Save(); }, StoreFailure::kLocked);
  EXPECT_EQ(born_.Text(), u"01/05/1999");
  EXPECT_EQ(hired_.Text(), u"2/1/2021");
  EXPECT_EQ(Buffered(DateColumn::kBorn), "1999-01-05");
  EXPECT_TRUE(editor_.Dirty());
  ASSERT_EQ(other.Exec("ROLLBACK"), SQLITE_OK);
  EXPECT_EQ(Dump(), before);

  // Hired before Born: the table's rule across columns.
  hired_.Retype(u"1/1/1990");
  hired_.Leave();
  testing::ExpectStoreError([&] { editor_.Save(); }, StoreFailure::kConstraint,
                            "Hired must come after Born");
  EXPECT_EQ(hired_.Text(), u"1/1/1990");
  EXPECT_EQ(Dump(), before);

  hired_.Retype(u"1/1/2020");
  hired_.Leave();
  editor_.Save();
  EXPECT_EQ(InFile(DateColumn::kBorn), "1999-01-05");
  EXPECT_EQ(InFile(DateColumn::kHired), "2020-01-01");
  EXPECT_FALSE(editor_.Dirty());
}

TEST_F(BoundForm, NoCurrentRecordRefusesEveryChange) {
  {
    RawDb raw(path_);
    ASSERT_EQ(raw.Exec("DELETE FROM people"), SQLITE_OK);
  }
  editor_.GoTo(0, /*discard_edits=*/true);
  EXPECT_FALSE(editor_.HasRecord());
  EXPECT_FALSE(born_.binding.CanChange("Text"));
  EXPECT_EQ(born_.Text(), u"");
  born_.control.SetText(u"1/1/2000");  // refused without a word
  EXPECT_EQ(born_.Text(), u"");
  born_.Type(u"1/1/2000");
  born_.Leave();
  EXPECT_EQ(born_.Text(), u"01/01/2000");  // the field keeps its text
  EXPECT_FALSE(born_.events->Saw("DateError"));
  EXPECT_THROW(editor_.Save(), Error);
  RawDb raw(path_);
  EXPECT_EQ(raw.Value("SELECT count(*) FROM people"), "0");
}

TEST_F(BoundForm, DesignModeTakesEveryNoticeAsADesignChange) {
  born_.binding.SetDesignMode(true);
  born_.control.SetText(u"1/1/1850");
  EXPECT_TRUE(born_.binding.DesignChanged());
  EXPECT_EQ(Buffered(DateColumn::kBorn), "1978-03-14");
  EXPECT_FALSE(born_.events->Saw("DateError"));
  for (const Notice& n : notices_) EXPECT_EQ(n.kind, Notice::Kind::kDesign);
  born_.binding.ClearDesignChanged();
  born_.control.SetSpin(false);
  EXPECT_TRUE(born_.binding.DesignChanged());
}

class ReadOnlyForm : public BoundForm {
 protected:
  ReadOnlyForm() : BoundForm(/*read_only=*/true) {}
};

TEST_F(ReadOnlyForm, CanChangeIsFalseAndTheFieldKeepsItsText) {
  ASSERT_TRUE(store_.ReadOnly());
  EXPECT_FALSE(editor_.Editable());
  EXPECT_FALSE(born_.binding.CanChange("Text"));
  EXPECT_TRUE(born_.binding.CanChange("DateFormat"));
  const std::string before = Dump();

  born_.control.SetText(u"1/1/2000");
  EXPECT_EQ(born_.Text(), u"03/14/1978");
  born_.Retype(u"1/1/2000");
  born_.Leave();
  EXPECT_EQ(born_.Text(), u"01/01/2000");
  EXPECT_FALSE(born_.events->Saw("DateError"));
  EXPECT_EQ(Buffered(DateColumn::kBorn), "1978-03-14");
  testing::ExpectStoreError([&] { editor_.Save(); }, StoreFailure::kReadOnly);
  EXPECT_THROW(editor_.SetName("x"), Error);
  EXPECT_THROW(editor_.New(true), Error);
  EXPECT_EQ(Dump(), before);
  EXPECT_EQ(born_.Text(), u"01/01/2000");
}

}  // namespace
}  // namespace morlex::demo
