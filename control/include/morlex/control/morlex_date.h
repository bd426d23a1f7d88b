#pragma once
// MorlexDate: the date-entry field. The host creates it with its site and a
// widget toolkit, then calls exactly one of InitProperties (a new field) or
// ReadProperties (stored settings), sends Resize after every change of the
// control's size and Show when it shows it, and reads and writes the public
// properties. Events reach the sinks connected with Advise.
//
// Property procedures have no error trap: a failure (a value that does not
// convert, a host or widget that fails) throws morlex::Error to the caller
// with nothing after the failing step done. The trapped procedures (keys,
// spinning, commit, the calendar button) report failures as DateError.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morlex/control/events.h"
#include "morlex/core/date.h"
#include "morlex/core/date_format.h"
#include "morlex/core/date_layout.h"
#include "morlex/platform/host.h"
#include "morlex/platform/toolkit.h"

namespace morlex {

class MorlexDate {
 public:
  // The size in twips of a field newly placed on a form, and the defaults of
  // its stored size.
  static constexpr std::int32_t kDefaultWidth = 1635;
  static constexpr std::int32_t kDefaultHeight = 315;

  // Creation: the members get their creation values and the constituent
  // widgets their first placement inside the host's current size.
  MorlexDate(platform::HostSite& host, platform::Toolkit& toolkit);
  ~MorlexDate();
  MorlexDate(const MorlexDate&) = delete;
  MorlexDate& operator=(const MorlexDate&) = delete;

  // --- Calls from the host -------------------------------------------------
  // First-time initialisation of a field newly placed on a form.
  void InitProperties();
  // Loading stored settings; never fails (each step is skipped on failure).
  void ReadProperties(platform::PropertyBag& bag);
  // Saving the 18 settings, then the order and separator of the date when
  // they are not the default; the first failing write ends it.
  void WriteProperties(platform::PropertyBag& bag);
  // The resize notice: runs the layout pass.
  void Resize();
  // The show notice: applies the Calendar and Spin flags to the widgets.
  void Show();

  // --- Public properties ----------------------------------------------------
  bool DateIsValid() const;
  platform::Variant Width() const;
  void SetWidth(const platform::Variant& vNewValue);
  bool Calendar() const;
  void SetCalendar(bool New_Calendar);
  std::u16string DataField() const;
  void SetDataField(std::u16string_view New_DataField);
  platform::Variant Height() const;
  void SetHeight(const platform::Variant& vNewValue);
  std::uint32_t BackColor() const;
  void SetBackColor(std::uint32_t New_BackColor);
  platform::FontRef Font() const;
  void SetFont(platform::FontRef New_Font);
  std::uint32_t ForeColor() const;
  void SetForeColor(std::uint32_t New_ForeColor);
  std::u16string ToolTipText() const;
  void SetToolTipText(std::u16string_view New_ToolTipText);
  std::int32_t WhatsThisHelpID() const;
  void SetWhatsThisHelpID(std::int32_t New_WhatsThisHelpID);
  std::u16string Text() const;
  void SetText(std::u16string_view New_Text);
  bool Enabled() const;
  void SetEnabled(bool New_Enabled);
  bool Spin() const;
  void SetSpin(bool New_Spin);
  enmDateFormat DateFormat() const;
  void SetDateFormat(std::int32_t new_DateFormat);
  std::u16string SelText() const;
  void SetSelText(std::u16string_view New_SelText);
  std::int32_t SelStart() const;
  void SetSelStart(std::int32_t New_SelStart);
  std::int32_t SelLength() const;
  void SetSelLength(std::int32_t New_SelLength);
  // The order of the date's parts and the separator between them. A value
  // outside DateOrder, or a separator other than "/", "." and "-", is refused
  // with error 380 and the property keeps its value. A change writes a date
  // the field holds again in the new layout.
  morlex::DateOrder DateOrder() const { return layout_.order; }
  void SetDateOrder(std::int32_t New_DateOrder);
  std::u16string DateSeparator() const { return std::u16string(1, layout_.separator); }
  void SetDateSeparator(std::u16string_view New_DateSeparator);

  // Shows the about box modally; every failure is ignored.
  void AboutBox();

  // --- Range (beyond the published interface, for typed hosts) ---------------
  // The dates that a commit may store, a spin step may reach and the calendar
  // offers; by default every date of the years 100 to 9999. Typing is never
  // checked against it. Throws morlex::Error when a bound is not a date or
  // minimum lies after maximum.
  void SetDateRange(const Date& minimum, const Date& maximum);
  const Date& MinimumDate() const { return minimum_; }
  const Date& MaximumDate() const { return maximum_; }
  bool InDateRange(const Date& date) const;
  // Renders and commits the date as Enter does (for hosts that end an edit
  // by a key the field does not see, such as an item view's Tab).
  void Commit();
  // Runs after every commit (focus leaving the field, Enter) that handed the
  // value to the host without failing; not an event of the control.
  void SetCommitHook(std::function<void()> hook) { commit_hook_ = std::move(hook); }
  // The language the calendar speaks: its month names and letter keys,
  // weekday headings, title and first day of the week. nullptr, the default,
  // leaves the calendar as the toolkit's forms name dates (English month
  // names in its month field, weeks from Sunday).
  void SetCalendarNames(std::shared_ptr<const platform::DateNames> names) {
    calendar_names_ = std::move(names);
  }

  // --- Events ---------------------------------------------------------------
  // Connects a sink; returns a cookie for Unadvise. Sinks run in the order
  // they were connected.
  std::uint32_t Advise(std::shared_ptr<MorlexDateEvents> sink);
  void Unadvise(std::uint32_t cookie);

  // The control's own surface, for hosts and toolkits that drive or draw the
  // constituent widgets (txtDate, spinCTL, cmdCalendar).
  platform::Surface& ControlSurface() { return *surface_; }
  platform::HostSite& Host() { return host_; }
  platform::Toolkit& GetToolkit() { return toolkit_; }

  // The pattern in force (m_strDateFormat): one of the four, empty, or
  // whatever a stored setting held.
  const std::u16string& DatePattern() const { return m_strDateFormat; }
  // The layout of the field's dates, and the pattern it renders with: the
  // pattern in force written in that layout ("dd.mm.yyyy").
  const DateLayout& Layout() const { return layout_; }
  std::u16string_view RenderPattern() const { return PatternInLayout(m_strDateFormat, layout_); }
  // The date a text reads as in the field's layout, today's year for a text
  // of two numbers.
  std::optional<Date> ReadDate(std::u16string_view text) const;
  // The caret position remembered at the last key release, click or spin.
  std::int16_t RememberedCaret() const { return m_intCaret; }

 private:
  // The gap in twips between the spin indicator and the right edge of the
  // text box.
  static constexpr float kSpinGap = 20;

  // Handlers of the constituent widgets.
  void UserControl_KeyPress(std::int16_t& KeyAscii);
  void txtDate_KeyPress(std::int16_t& KeyAscii);
  void txtDate_KeyDown(platform::KeyDownArgs& key);
  void txtDate_KeyUp();
  void txtDate_Click();
  void txtDate_DblClick();
  void txtDate_Change();
  void txtDate_LostFocus();
  void spinCTL_Change();
  void cmdCalendar_Click();

  // Trapped procedures of the date-entry core.
  void FormatTheDate();
  void ValidateAndUpdate();
  void SpinTheDate(std::int16_t step);

  // Layout.
  void InitialPlacement();
  void LayoutPass();
  void LayoutWidths();

  // Reports the failure being handled (call from a catch block) as DateError
  // with the source "MorlexDate.<procedure>".
  void ReportError(std::string_view procedure, std::u16string custom);
  void RaiseDateChanged();
  void RaiseDateInvalid();
  void RaiseClick();
  void RaiseDblClick();
  void RaiseDateError(ErrObject& err, std::u16string& custom);

  int CurrentYear() const;
  // Puts a new layout in force, writing a date the field holds in it.
  void ChangeLayout(const DateLayout& layout);
  // Throws the failure of a date outside the range, naming the range.
  void CheckDateRange(const Date& date) const;
  // True while the range is every date the calendar has (the default).
  bool DateRangeIsWhole() const {
    return minimum_ == Date{kMinYear, 1, 1} && maximum_ == Date{kMaxYear, 12, 31};
  }

  // The separators of a text and the "/" before a position, as the 16-bit
  // numbers the editor works with; Overflow when a position does not fit.
  void FindSlashes(std::u16string_view text, std::int16_t& F, std::int16_t& S,
                   std::int16_t& N) const;
  void CountSlashes(std::int16_t n, std::int16_t& count) const;

  platform::HostSite& host_;
  platform::Toolkit& toolkit_;
  std::unique_ptr<platform::Surface> surface_;
  platform::TextBox& txtDate;
  platform::UpDown& spinCTL;
  platform::CommandButton& cmdCalendar;

  bool m_blnResizing = false;
  bool m_blnApplyDefaultSize = false;
  bool m_blnCalendar = true;
  bool m_blnSpin = true;
  std::u16string m_strDateFormat = u"mm/dd/yyyy";
  morlex::DateLayout layout_;
  std::u16string m_strText;
  std::int16_t m_intCaret = 0;
  Date minimum_{kMinYear, 1, 1};
  Date maximum_{kMaxYear, 12, 31};
  std::function<void()> commit_hook_;
  std::shared_ptr<const platform::DateNames> calendar_names_;

  struct Sink {
    std::uint32_t cookie;
    std::shared_ptr<MorlexDateEvents> sink;
  };
  std::vector<Sink> sinks_;
  std::uint32_t next_cookie_ = 1;
};

}  // namespace morlex
