#pragma once
// frmCalendar: the modal month calendar from which the user of a date field
// picks a day. One object is one load of the form: the caller builds it,
// opens it once, reads the result and destroys it (which unloads the form).
//
//   auto dialog = std::make_unique<morlex::frmCalendar>(
//       toolkit.CreateForm(morlex::designs::CalendarForm()), host.GetClock());
//   dialog->ShowCalendar(field_text);      // modal: returns once hidden or closed
//   if (dialog->ReturnDate()) use(dialog->DateText());
//   dialog.reset();                        // unload
//
// While the dialog lives, DateText() always reads as a valid date in the
// years 100 to 9999; Month() and Year() are its month and year, and the grid
// shows that month with its day bordered. No handler of the dialog traps
// failures: a widget or toolkit failure reaches whoever set it off.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "morlex/calendar/month_grid.h"
#include "morlex/core/date.h"
#include "morlex/platform/clock.h"
#include "morlex/platform/date_names.h"
#include "morlex/platform/surface.h"

namespace morlex {

class frmCalendar {
 public:
  // The load step: takes the form built from the calendar design, connects
  // its widgets and lays out the grid from the size of picDays. Fails with
  // morlex::Error when the form lacks one of the design's widgets. The clock
  // tells "today" and must outlive the dialog.
  //
  // With language, the dialog speaks it throughout: the month field and its
  // letter keys, the weekday headings, the title and the day the week
  // starts on. Without, those but the month field take the form's names
  // (the week of a form's names starts on Sunday) and the month field stays
  // English. The language must outlive the dialog.
  frmCalendar(std::unique_ptr<platform::Form> form, const platform::Clock& clock,
              const platform::DateNames* language = nullptr);
  ~frmCalendar();
  frmCalendar(const frmCalendar&) = delete;
  frmCalendar& operator=(const frmCalendar&) = delete;

  // The days that may be chosen (call before ShowCalendar); by default every
  // day of the years 100 to 9999. Days outside it show disabled, and OK
  // confirms nothing while the chosen date lies outside it.
  void SetRange(const Date& minimum, const Date& maximum);

  // Opens the dialog modally on strDate, or on today when strDate is not a
  // date text; returns once the form has been hidden or closed. strDate is
  // only read.
  void ShowCalendar(std::u16string_view strDate);

  // True only after OK or a double-click on a day.
  bool ReturnDate() const { return m_blnReturnDate; }
  // The chosen date as date text: the text passed in when it was a date and
  // nothing changed it, otherwise text of the form m/d/yyyy or composed from
  // the fields. Only its date value counts.
  const std::u16string& DateText() const { return m_strDate; }
  // The chosen date (what DateText() reads as).
  const Date& ChosenDate() const { return chosen_; }
  // The day of month the dialog was opened with; month letters use it.
  int OpeningDay() const { return m_intDay; }
  int Month() const { return m_intMonth; }
  int Year() const { return m_intYear; }
  // The grid model the day labels mirror (meaningful once opened).
  const calendar::MonthCells& Cells() const { return cells_; }
  platform::Form& GetForm() { return *form_; }

 private:
  // Handlers of the form's widgets.
  void txtMonth_KeyPress(std::int16_t& KeyAscii);
  void txtMonth_GotFocus();
  void txtMonth_LostFocus();
  void txtYear_KeyPress(std::int16_t& KeyAscii);
  void txtYear_GotFocus();
  void txtYear_LostFocus();
  void spnMonth_Change();
  void spnYear_Change();
  void lblDay_Click(int index);
  void lblDay_DblClick(int index);
  void picDays_KeyDown(platform::KeyDownArgs& key);
  void cmdOK_Click();
  void cmdCancel_Click();

  // Grid and fields.
  // The names of the title, the headings and the week.
  const platform::DateNames& Names() const { return language_ ? *language_ : form_->Names(); }
  void LayoutGrid();
  void FillMonth(int month, int year);
  void SelectDay(int index);
  // Makes date the chosen date (it must lie in the range) and shows it: the
  // month and year fields and the grid follow when its month differs.
  void MoveChosenDay(const Date& date);
  // Marks today's cell and names every cell's day for assistive technology.
  void MarkDays(int month, int year);
  void ShowMonthName();
  void ShowTitle();
  void ApplyTypedYear();
  void SelectAll(platform::TextBox& box);
  bool InRange(const Date& date) const;
  // Makes text the chosen date; the text must read as a valid date.
  void SetDateText(std::u16string text);

  std::unique_ptr<platform::Form> form_;
  const platform::Clock& clock_;
  const platform::DateNames* language_;
  // The weekday of the grid's first column.
  int first_weekday_ = calendar::kSunday;
  platform::TextBox& txtMonth;
  platform::TextBox& txtYear;
  platform::UpDown& spnMonth;
  platform::UpDown& spnYear;
  platform::CommandButton& cmdOK;
  platform::CommandButton& cmdCancel;
  platform::PictureBox& picDays;
  std::array<platform::Label*, calendar::kCells> lblDay{};
  std::array<platform::Label*, calendar::kColumns> lblDayName{};

  std::u16string m_strDate;
  bool m_blnReturnDate = false;
  std::int16_t m_intDay = 0;
  std::int16_t m_intMonth = 0;
  std::int16_t m_intYear = 0;

  Date chosen_{};
  // The year that date texts of two numbers (month/day) are read in, fixed
  // when the dialog opens so that the chosen date cannot move under the
  // user's hands should the clock pass a new year meanwhile.
  int reading_year_ = 0;
  calendar::MonthCells cells_{};
  Date minimum_{kMinYear, 1, 1};
  Date maximum_{kMaxYear, 12, 31};
};

}  // namespace morlex
