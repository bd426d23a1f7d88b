#include "morlex/calendar/frm_calendar.h"

#include <algorithm>
#include <string>

#include "morlex/calendar/grid_keys.h"
#include "morlex/calendar/month_fields.h"
#include "morlex/core/date_text.h"
#include "morlex/core/error.h"

namespace morlex {

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;  // red, green and blue all 255
constexpr int kCentred = 2;
// Selecting 20 characters selects the whole of any month name or year.
constexpr int kSelectAll = 20;

std::u16string Decimal(int value) {
  return calendar::YearText(value, false);
}

// A month number in two digits, as the month letters write it ("03").
std::u16string TwoDigits(int value) {
  std::u16string text = Decimal(value);
  if (text.size() < 2) text.insert(text.begin(), u'0');
  return text;
}

}  // namespace

frmCalendar::frmCalendar(std::unique_ptr<platform::Form> form, const platform::Clock& clock,
                         const platform::DateNames* language)
    : form_(form ? std::move(form) : throw Error(errnum::kInvalidCall)),
      clock_(clock),
      language_(language),
      txtMonth(form_->GetTextBox("txtMonth")),
      txtYear(form_->GetTextBox("txtYear")),
      spnMonth(form_->GetUpDown("spnMonth")),
      spnYear(form_->GetUpDown("spnYear")),
      cmdOK(form_->GetCommandButton("cmdOK")),
      cmdCancel(form_->GetCommandButton("cmdCancel")),
      picDays(form_->GetPictureBox("picDays")) {
  for (int i = 0; i < calendar::kCells; ++i) {
    lblDay[static_cast<std::size_t>(i)] = &form_->GetLabel("lblDay", i);
  }
  for (int i = 0; i < calendar::kColumns; ++i) {
    lblDayName[static_cast<std::size_t>(i)] = &form_->GetLabel("lblDayName", i);
  }

  txtMonth.events.KeyPress = [this](std::int16_t& k) { txtMonth_KeyPress(k); };
  txtMonth.events.GotFocus = [this] { txtMonth_GotFocus(); };
  txtMonth.events.LostFocus = [this] { txtMonth_LostFocus(); };
  txtYear.events.KeyPress = [this](std::int16_t& k) { txtYear_KeyPress(k); };
  txtYear.events.GotFocus = [this] { txtYear_GotFocus(); };
  txtYear.events.LostFocus = [this] { txtYear_LostFocus(); };
  spnMonth.events.Change = [this] { spnMonth_Change(); };
  spnYear.events.Change = [this] { spnYear_Change(); };
  for (platform::Label* cell : lblDay) {
    cell->events.Click = [this](int index) { lblDay_Click(index); };
    cell->events.DblClick = [this](int index) { lblDay_DblClick(index); };
  }
  picDays.events.KeyDown = [this](platform::KeyDownArgs& k) { picDays_KeyDown(k); };
  cmdOK.events.Click = [this] { cmdOK_Click(); };
  cmdCancel.events.Click = [this] { cmdCancel_Click(); };

  m_blnReturnDate = false;
  reading_year_ = clock_.Today().year;
  // Read once: the grid, its headings and every fill agree on one week.
  first_weekday_ = Names().FirstWeekday();
  LayoutGrid();
}

frmCalendar::~frmCalendar() {
  // The form goes last; make sure none of its widgets can call back into a
  // dialog that is being destroyed.
  txtMonth.events = {};
  txtYear.events = {};
  spnMonth.events = {};
  spnYear.events = {};
  for (platform::Label* cell : lblDay) cell->events = {};
  picDays.events = {};
  cmdOK.events = {};
  cmdCancel.events = {};
}

// --- Opening -------------------------------------------------------------------

void frmCalendar::ShowCalendar(std::u16string_view strDate) {
  // A form object is meant to be opened once; should a caller open it again,
  // an earlier OK must not count for this showing.
  m_blnReturnDate = false;
  const Date today = clock_.Today();
  reading_year_ = today.year;
  if (IsDateText(strDate, reading_year_)) {
    SetDateText(std::u16string(strDate));
  } else {
    SetDateText(DateToText(today));
  }
  ShowTitle();
  m_intDay = static_cast<std::int16_t>(chosen_.day);
  m_intMonth = static_cast<std::int16_t>(chosen_.month);
  m_intYear = static_cast<std::int16_t>(chosen_.year);
  ShowMonthName();
  txtYear.SetText(Decimal(m_intYear));
  FillMonth(m_intMonth, m_intYear);
  form_->ShowModal();
}

void frmCalendar::SetDateText(std::u16string text) {
  const auto date = ReadDateText(text, reading_year_);
  // Every text set here was composed from a valid date; this guards the
  // invariant rather than reporting a user error.
  if (!date) throw Error(errnum::kInvalidCall);
  m_strDate = std::move(text);
  chosen_ = *date;
}

// --- Grid ----------------------------------------------------------------------

void frmCalendar::LayoutGrid() {
  const calendar::GridGeometry g =
      calendar::LayoutGrid(picDays.ScaleWidth(), picDays.ScaleHeight());
  for (int i = 0; i < calendar::kColumns; ++i) {
    platform::Label& heading = *lblDayName[static_cast<std::size_t>(i)];
    heading.SetWidth(static_cast<float>(g.CellWidth()));
    heading.SetLeft(static_cast<float>(g.CellLeft(i)));
    // Last: the heading sizes itself to its caption, keeping its left.
    heading.SetCaption(calendar::WeekdayHeading(i, Names()));
  }
  for (int r = 0; r < calendar::kRows; ++r) {
    for (int c = 0; c < calendar::kColumns; ++c) {
      platform::Label& cell = *lblDay[static_cast<std::size_t>(r * calendar::kColumns + c)];
      cell.SetBordered(false);
      cell.SetAlignment(kCentred);
      cell.SetBackColor(kWhite);
      cell.SetHeight(static_cast<float>(g.CellHeight()));
      cell.SetWidth(static_cast<float>(g.CellWidth()));
      cell.SetTop(static_cast<float>(g.CellTop(r)));
      cell.SetLeft(static_cast<float>(g.CellLeft(c)));
    }
  }
}

void frmCalendar::SetRange(const Date& minimum, const Date& maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
}

bool frmCalendar::InRange(const Date& date) const {
  const auto at = ToSerial(date);
  return at >= ToSerial(minimum_) && at <= ToSerial(maximum_);
}

void frmCalendar::FillMonth(int month, int year) {
  cells_ = calendar::FillMonthCells(month, year, chosen_.day, first_weekday_);
  // A day outside the range keeps its caption but cannot be picked. Most
  // months lie wholly inside the range: only one that it cuts is walked.
  const Date last{year, month, DaysInMonth(year, month)};
  if (!InRange(Date{year, month, 1}) || !InRange(last)) {
    const int first = calendar::FirstDayCell(month, year, first_weekday_);
    for (int i = 0; i < calendar::kCells; ++i) {
      calendar::DayCell& cell = cells_[static_cast<std::size_t>(i)];
      if (cell.enabled && !InRange(Date{year, month, i - first + 1})) cell.enabled = false;
    }
  }
  MarkDays(month, year);
  for (int i = 0; i < calendar::kCells; ++i) {
    const calendar::DayCell& model = cells_[static_cast<std::size_t>(i)];
    platform::Label& cell = *lblDay[static_cast<std::size_t>(i)];
    cell.SetCaption(model.caption);
    cell.SetEnabled(model.enabled);
    cell.SetBordered(model.bordered);
  }
  ShowTitle();
}

void frmCalendar::MarkDays(int month, int year) {
  const Date today = clock_.Today();
  const int first = calendar::FirstDayCell(month, year, first_weekday_);
  const int days = DaysInMonth(year, month);
  for (int i = 0; i < calendar::kCells; ++i) {
    platform::Label& cell = *lblDay[static_cast<std::size_t>(i)];
    const int day = i - first + 1;
    const bool in_month = first > 0 && day >= 1 && day <= days;
    cell.SetBold(in_month && today == Date{year, month, day});
    cell.SetDay(in_month ? std::optional<Date>(Date{year, month, day}) : std::nullopt);
  }
}

void frmCalendar::SelectDay(int index) {
  // Only an enabled cell holds a day; a toolkit that reports a click on a
  // blank cell all the same must not make the caption "" a day.
  if (index < 0 || index >= calendar::kCells) return;
  const calendar::DayCell& picked = cells_[static_cast<std::size_t>(index)];
  if (!picked.enabled) return;
  std::u16string text = Decimal(m_intMonth);
  text += u'/';
  text += picked.caption;
  text += u'/';
  text += Decimal(m_intYear);
  SetDateText(std::move(text));

  calendar::MarkCell(cells_, index);
  for (int i = 0; i < calendar::kCells; ++i) {
    lblDay[static_cast<std::size_t>(i)]->SetBordered(cells_[static_cast<std::size_t>(i)].bordered);
  }
  ShowTitle();
}

void frmCalendar::ShowTitle() {
  form_->SetCaption(calendar::CalendarTitle(chosen_, Names()));
}

void frmCalendar::lblDay_Click(int index) {
  SelectDay(index);
}

void frmCalendar::lblDay_DblClick(int index) {
  if (index < 0 || index >= calendar::kCells || !cells_[static_cast<std::size_t>(index)].enabled) {
    return;
  }
  SelectDay(index);
  m_blnReturnDate = true;
  form_->Hide();
}

void frmCalendar::picDays_KeyDown(platform::KeyDownArgs& key) {
  if (key.key == platform::NavKey::kSpace && !key.ctrl && !key.alt) {
    // Space picks the chosen day and confirms, as a double-click on it does.
    // Enter does not: it never confirms the dialog.
    key.handled = true;
    if (!InRange(chosen_)) return;
    m_blnReturnDate = true;
    form_->Hide();
    return;
  }
  // Any other key (Tab, Alt with a letter) goes on to the form; a move key
  // is used up even where it cannot move, at the calendar's first or last
  // day or at the edge of the range, since a day that cannot be picked
  // cannot be chosen by a key either.
  if (!calendar::MovesChosenDay(key.key, key.alt)) return;
  key.handled = true;
  const auto next = calendar::MoveChosenDay(chosen_, key.key, key.ctrl, key.alt);
  if (next && InRange(*next)) MoveChosenDay(*next);
}

void frmCalendar::MoveChosenDay(const Date& date) {
  const bool same_month = date.month == m_intMonth && date.year == m_intYear;
  if (same_month) {
    SelectDay(calendar::FirstDayCell(m_intMonth, m_intYear, first_weekday_) + date.day - 1);
    return;
  }
  SetDateText(DateToText(date));
  m_intMonth = static_cast<std::int16_t>(chosen_.month);
  ShowMonthName();
  if (chosen_.year != m_intYear) {
    m_intYear = static_cast<std::int16_t>(chosen_.year);
    txtYear.SetText(Decimal(m_intYear));
  }
  FillMonth(m_intMonth, m_intYear);
}

// --- Month field ---------------------------------------------------------------

void frmCalendar::ShowMonthName() {
  const std::u16string name = language_ ? language_->MonthName(m_intMonth)
                                        : std::u16string(calendar::MonthName(m_intMonth));
  if (!name.empty()) txtMonth.SetText(name);
}

void frmCalendar::SelectAll(platform::TextBox& box) {
  box.SetSelStart(0);
  box.SetSelLength(kSelectAll);
}

void frmCalendar::txtMonth_KeyPress(std::int16_t& KeyAscii) {
  // The month field is never typed into: every key is consumed.
  const auto picked = language_ ? calendar::MonthOfLetter(KeyAscii, m_intMonth, *language_)
                                : calendar::MonthOfLetter(KeyAscii, m_intMonth);
  KeyAscii = 0;
  if (!picked || *picked == m_intMonth) return;

  // The day is the one the dialog was opened with, cut back to the picked
  // month's last day where that month is shorter (opened on the 31st, then
  // April gives the 30th), so that the chosen date always exists.
  const int day = std::min<int>(m_intDay, DaysInMonth(m_intYear, *picked));
  std::u16string text = TwoDigits(*picked);
  text += u'/';
  text += Decimal(day);
  text += u'/';
  text += Decimal(m_intYear);
  SetDateText(std::move(text));

  m_intMonth = static_cast<std::int16_t>(chosen_.month);
  ShowMonthName();
  FillMonth(m_intMonth, m_intYear);
  SelectAll(txtMonth);
}

void frmCalendar::txtMonth_GotFocus() {
  SelectAll(txtMonth);
}

void frmCalendar::txtMonth_LostFocus() {
  txtMonth.SetSelLength(0);
}

// --- Year field ----------------------------------------------------------------

void frmCalendar::txtYear_KeyPress(std::int16_t& KeyAscii) {
  if ((KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == platform::kBackspace) return;
  const bool enter = KeyAscii == platform::kEnter;
  KeyAscii = 0;
  if (enter) ApplyTypedYear();
}

void frmCalendar::ApplyTypedYear() {
  const std::u16string typed = txtYear.Text();
  const auto value = calendar::YearFieldValue(typed);
  if (!value || *value == m_intYear) return;

  const auto year = calendar::YearOfText(typed);
  if (!year) {
    // A year outside 100 to 9999 names no date: refuse it and show the year
    // in force again, so that field, grid and date keep agreeing.
    txtYear.SetText(Decimal(m_intYear));
    SelectAll(txtYear);
    return;
  }
  // The chosen month and day in the typed year; 29 February in a common year
  // becomes the 28th.
  const int day = std::min(chosen_.day, DaysInMonth(*year, chosen_.month));
  std::u16string text = Decimal(chosen_.month);
  text += u'/';
  text += Decimal(day);
  text += u'/';
  text += typed;
  SetDateText(std::move(text));

  m_intYear = static_cast<std::int16_t>(chosen_.year);
  txtYear.SetText(Decimal(m_intYear));
  FillMonth(m_intMonth, m_intYear);
  SelectAll(txtYear);
}

void frmCalendar::txtYear_GotFocus() {
  SelectAll(txtYear);
}

void frmCalendar::txtYear_LostFocus() {
  // Leaving the field applies a typed year as Enter would, so that OK takes
  // the year the user sees.
  ApplyTypedYear();
  txtYear.SetSelLength(0);
}

// --- Spins ---------------------------------------------------------------------

void frmCalendar::spnMonth_Change() {
  const int v = spnMonth.Value();
  if (v == 0) return;  // also the notice of the reset below
  const auto next = AddToDate(DateUnit::kMonths, v, chosen_);
  if (next) SetDateText(DateToText(*next));
  spnMonth.SetValue(0);
  // A step before January 100 or after December 9999 is refused; nothing
  // else changes.
  if (!next) return;

  m_intMonth = static_cast<std::int16_t>(chosen_.month);
  ShowMonthName();
  if (chosen_.year != m_intYear) {
    m_intYear = static_cast<std::int16_t>(chosen_.year);
    txtYear.SetText(calendar::YearText(m_intYear, true));
  }
  FillMonth(m_intMonth, m_intYear);
}

void frmCalendar::spnYear_Change() {
  const int v = spnYear.Value();
  if (v == 0) return;
  const auto next = AddToDate(DateUnit::kYears, v, chosen_);
  if (next) SetDateText(DateToText(*next));
  spnYear.SetValue(0);
  if (!next) return;  // before the year 100 or after 9999: refused

  m_intYear = static_cast<std::int16_t>(chosen_.year);
  txtYear.SetText(Decimal(m_intYear));
  FillMonth(m_intMonth, m_intYear);
}

// --- Buttons -------------------------------------------------------------------

void frmCalendar::cmdOK_Click() {
  // Pressing OK takes the focus from the year field, whose leaving step has
  // then applied a typed year already. Applying it again here changes
  // nothing in that case, and keeps OK right on a toolkit whose buttons can
  // be pressed without taking the focus.
  ApplyTypedYear();
  if (!InRange(chosen_)) return;  // a month or year step led outside the range
  m_blnReturnDate = true;
  form_->Hide();
}

void frmCalendar::cmdCancel_Click() {
  form_->Hide();
}

}  // namespace morlex
