// The public properties. Most delegate to txtDate and keep no copy; each
// write that changes a persisted setting ends with the host's change notice.
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"

namespace morlex {

using platform::Variant;

bool MorlexDate::DateIsValid() const {
  return ReadDate(txtDate.Text()).has_value();
}

Variant MorlexDate::Width() const {
  return host_.Width();
}

void MorlexDate::SetWidth(const Variant& vNewValue) {
  const float width = platform::ToSingle(vNewValue);
  host_.SetWidth(width);
  host_.NotifyChanged("UserCtlWidth");
}

Variant MorlexDate::Height() const {
  return host_.Height();
}

void MorlexDate::SetHeight(const Variant& vNewValue) {
  const float height = platform::ToSingle(vNewValue);
  host_.SetHeight(height);
  host_.NotifyChanged("UserCtlHeight");
}

bool MorlexDate::Calendar() const {
  return cmdCalendar.Visible();
}

void MorlexDate::SetCalendar(bool New_Calendar) {
  cmdCalendar.SetVisible(New_Calendar);
  m_blnCalendar = New_Calendar;
  LayoutPass();
  host_.NotifyChanged("Calendar");
}

std::u16string MorlexDate::DataField() const {
  return txtDate.DataField();
}

void MorlexDate::SetDataField(std::u16string_view New_DataField) {
  txtDate.SetDataField(New_DataField);
  host_.NotifyChanged("DataField");
}

std::uint32_t MorlexDate::BackColor() const {
  return txtDate.BackColor();
}

void MorlexDate::SetBackColor(std::uint32_t New_BackColor) {
  txtDate.SetBackColor(New_BackColor);
  host_.NotifyChanged("BackColor");
}

platform::FontRef MorlexDate::Font() const {
  return txtDate.GetFont();
}

void MorlexDate::SetFont(platform::FontRef New_Font) {
  if (!New_Font) throw Error(errnum::kInvalidValue);
  txtDate.SetFont(std::move(New_Font));
  host_.NotifyChanged("Font");
}

std::uint32_t MorlexDate::ForeColor() const {
  return txtDate.ForeColor();
}

void MorlexDate::SetForeColor(std::uint32_t New_ForeColor) {
  txtDate.SetForeColor(New_ForeColor);
  host_.NotifyChanged("ForeColor");
}

std::u16string MorlexDate::ToolTipText() const {
  return txtDate.ToolTipText();
}

void MorlexDate::SetToolTipText(std::u16string_view New_ToolTipText) {
  txtDate.SetToolTipText(New_ToolTipText);
  host_.NotifyChanged("ToolTipText");
}

std::int32_t MorlexDate::WhatsThisHelpID() const {
  return txtDate.WhatsThisHelpID();
}

void MorlexDate::SetWhatsThisHelpID(std::int32_t New_WhatsThisHelpID) {
  txtDate.SetWhatsThisHelpID(New_WhatsThisHelpID);
  host_.NotifyChanged("WhatsThisHelpID");
}

std::u16string MorlexDate::Text() const {
  return txtDate.Text();
}

void MorlexDate::SetText(std::u16string_view New_Text) {
  // A host that cannot take the change (a read-only data source, say) keeps
  // the field as it is, silently.
  if (!host_.CanChange("Text")) return;
  txtDate.SetText(New_Text);
  host_.NotifyChanged("Text");
}

bool MorlexDate::Enabled() const {
  return host_.Enabled();
}

void MorlexDate::SetEnabled(bool New_Enabled) {
  host_.SetEnabled(New_Enabled);
  host_.NotifyChanged("Enabled");
}

bool MorlexDate::Spin() const {
  return spinCTL.Visible();
}

void MorlexDate::SetSpin(bool New_Spin) {
  m_blnSpin = New_Spin;
  spinCTL.SetVisible(m_blnSpin);
  host_.NotifyChanged("Spin");
}

enmDateFormat MorlexDate::DateFormat() const {
  return FormatOfPattern(m_strDateFormat);
}

void MorlexDate::SetDateFormat(std::int32_t new_DateFormat) {
  m_strDateFormat = PatternOfFormat(new_DateFormat);
  // Applied to whatever the field holds; RenderDate leaves a text that is
  // not a date (and any text under the empty pattern) as it is.
  txtDate.SetText(RenderDate(txtDate.Text(), RenderPattern(), CurrentYear(), layout_));
  host_.NotifyChanged("DateFormat");
}

std::u16string MorlexDate::SelText() const {
  return txtDate.SelText();
}

void MorlexDate::SetSelText(std::u16string_view New_SelText) {
  txtDate.SetSelText(New_SelText);
  host_.NotifyChanged("SelText");
}

std::int32_t MorlexDate::SelStart() const {
  return txtDate.SelStart();
}

void MorlexDate::SetSelStart(std::int32_t New_SelStart) {
  txtDate.SetSelStart(New_SelStart);
  host_.NotifyChanged("SelStart");
}

std::int32_t MorlexDate::SelLength() const {
  return txtDate.SelLength();
}

void MorlexDate::SetSelLength(std::int32_t New_SelLength) {
  txtDate.SetSelLength(New_SelLength);
  host_.NotifyChanged("SelLength");
}

}  // namespace morlex
