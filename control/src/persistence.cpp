// First-time initialisation, loading and saving of the field's settings.
//
// The keys, their order and their defaults are the stored format: a bag
// written by one build must load into another, so the odd defaults below
// (whole numbers for the two sizes, empty strings for "TextWidth" and
// "SpinLeft") are kept exactly as they always were.
#include <cstdint>

#include "morlex/control/morlex_date.h"
#include "morlex/control/scoped_flag.h"
#include "morlex/core/date_text.h"

namespace morlex {
namespace {

using platform::Variant;

// The system colours of window background and text, as the bag stores them.
const Variant kDefaultBackColor = platform::ColorVariant(platform::kColorWindow);
const Variant kDefaultForeColor = platform::ColorVariant(platform::kColorWindowText);

// Runs one step of loading. Loading never fails: a value that does not
// convert, or a widget or host call that fails, skips that step alone.
template <typename Fn>
void Guarded(Fn&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}

// The empty-string default of the text keys (and of the two numbers whose
// default has always been an empty string).
const Variant kNoText = std::u16string();

}  // namespace

void MorlexDate::InitProperties() {
  {
    // The size changes here must not lay the control out; the first pass
    // after initialisation applies the default size instead.
    ScopedFlag resizing(m_blnResizing);
    host_.SetWidth(kDefaultWidth);
    host_.SetHeight(kDefaultHeight);
    txtDate.SetText(FormatDate(host_.GetClock().Today(), m_strDateFormat));
  }
  m_blnApplyDefaultSize = true;
}

void MorlexDate::ReadProperties(platform::PropertyBag& bag) {
  using platform::ToBoolean;
  using platform::ToLong;
  using platform::ToSingle;
  using platform::ToText;
  Guarded([&] { txtDate.SetText(ToText(bag.ReadProperty("Text", kNoText))); });
  // Each size change runs the layout pass with the flags from creation.
  Guarded([&] { host_.SetWidth(ToSingle(bag.ReadProperty("UserCtlWidth", kDefaultWidth))); });
  Guarded([&] { host_.SetHeight(ToSingle(bag.ReadProperty("UserCtlHeight", kDefaultHeight))); });
  // A missing key gives the empty string, which does not convert: skipped.
  Guarded([&] { spinCTL.SetLeft(ToSingle(bag.ReadProperty("SpinLeft", kNoText))); });
  Guarded([&] { host_.SetEnabled(ToBoolean(bag.ReadProperty("Enabled", true))); });
  Guarded([&] { m_blnSpin = ToBoolean(bag.ReadProperty("Spin", true)); });
  Guarded([&] {
    if (host_.UserMode()) spinCTL.SetVisible(m_blnSpin);
  });
  // Kept as stored, even when it is none of the four patterns; the text read
  // above is not re-rendered.
  bool format_read = false;
  Guarded([&] {
    m_strDateFormat = ToText(bag.ReadProperty("DateFormat", std::u16string(u"mm/dd/yyyy")));
    format_read = true;
  });
  Guarded([&] { m_blnCalendar = ToBoolean(bag.ReadProperty("Calendar", true)); });
  Guarded([&] {
    if (host_.UserMode()) cmdCalendar.SetVisible(m_blnCalendar);
  });

  // The layout passes above ran before the calendar flag was known: lay the
  // widths out again with it, each assignment on its own.
  if (m_blnCalendar) {
    Guarded([&] { txtDate.SetWidth(host_.Width() - cmdCalendar.Width()); });
    Guarded([&] { cmdCalendar.SetLeft(txtDate.Width()); });
  } else {
    Guarded([&] { txtDate.SetWidth(host_.Width()); });
  }
  Guarded([&] { spinCTL.SetLeft(txtDate.Width() - spinCTL.Width() - kSpinGap); });

  Guarded([&] { txtDate.SetDataField(ToText(bag.ReadProperty("DataField", kNoText))); });
  Guarded([&] {
    txtDate.SetBackColor(platform::ToColor(bag.ReadProperty("BackColor", kDefaultBackColor)));
  });
  Guarded([&] {
    // The default is a copy of the ambient font: the field's font object is
    // handed out by reference, and a change made through it must not change
    // the font the host proposes to all its controls.
    Variant fallback;
    if (platform::FontRef ambient = host_.AmbientFont()) {
      fallback = std::make_shared<platform::Font>(*ambient);
    }
    SetFont(platform::ToFont(bag.ReadProperty("Font", fallback)));
  });
  Guarded([&] {
    txtDate.SetForeColor(platform::ToColor(bag.ReadProperty("ForeColor", kDefaultForeColor)));
  });
  Guarded([&] { txtDate.SetToolTipText(ToText(bag.ReadProperty("ToolTipText", kNoText))); });
  Guarded([&] { txtDate.SetWhatsThisHelpID(ToLong(bag.ReadProperty("WhatsThisHelpID", 0))); });
  // "SelText" is read but never put into the text. The stored selection is a
  // part of the stored "Text", which is already in the field; inserting it at
  // the caret would write it a second time and corrupt the date. The
  // selection itself comes back from "SelStart" and "SelLength" below. An
  // empty stored selection leaves the text as it is, like any other.
  Guarded([&] { (void)ToText(bag.ReadProperty("SelText", kNoText)); });
  Guarded([&] { txtDate.SetSelStart(ToLong(bag.ReadProperty("SelStart", 0))); });
  Guarded([&] { txtDate.SetSelLength(ToLong(bag.ReadProperty("SelLength", 0))); });
  // Stored only when they differ from the default; a value that is none of
  // the known ones is skipped like any value that does not convert. As with
  // "DateFormat", the text read above is not re-rendered. They say how the
  // pattern is written, so a bag whose pattern could not be read leaves
  // them at the default too (and is not asked again).
  if (!format_read) return;
  Guarded([&] {
    if (const auto order =
            DateOrderOf(ToLong(bag.ReadProperty("DateOrder", std::int32_t{MonthDayYear})))) {
      layout_.order = *order;
    }
  });
  Guarded([&] {
    const Variant slash = std::u16string(1, kDefaultLayout.separator);
    if (const auto separator = DateSeparatorOf(ToText(bag.ReadProperty("DateSeparator", slash)))) {
      layout_.separator = *separator;
    }
  });
}

void MorlexDate::WriteProperties(platform::PropertyBag& bag) {
  bag.WriteProperty("UserCtlWidth", host_.Width(), kDefaultWidth);
  bag.WriteProperty("UserCtlHeight", host_.Height(), kDefaultHeight);
  bag.WriteProperty("Text", txtDate.Text(), kNoText);
  // Written for the designers that show it; never read back.
  bag.WriteProperty("TextWidth", txtDate.Width(), kNoText);
  bag.WriteProperty("SpinLeft", spinCTL.Left(), kNoText);
  bag.WriteProperty("DateFormat", m_strDateFormat, std::u16string(u"mm/dd/yyyy"));
  bag.WriteProperty("Enabled", host_.Enabled(), true);
  bag.WriteProperty("Spin", m_blnSpin, true);
  bag.WriteProperty("DataField", txtDate.DataField(), kNoText);
  bag.WriteProperty("Calendar", m_blnCalendar, true);
  bag.WriteProperty("BackColor", platform::ColorVariant(txtDate.BackColor()), kDefaultBackColor);
  bag.WriteProperty("Font", Font(), host_.AmbientFont());
  bag.WriteProperty("ForeColor", platform::ColorVariant(txtDate.ForeColor()), kDefaultForeColor);
  bag.WriteProperty("ToolTipText", txtDate.ToolTipText(), kNoText);
  bag.WriteProperty("WhatsThisHelpID", txtDate.WhatsThisHelpID(), 0);
  bag.WriteProperty("SelText", txtDate.SelText(), kNoText);
  bag.WriteProperty("SelStart", static_cast<std::int32_t>(txtDate.SelStart()), 0);
  bag.WriteProperty("SelLength", static_cast<std::int32_t>(txtDate.SelLength()), 0);
  // Written only when not the default, so that a default field saves the
  // same settings as ever and an older reader loads what it stores.
  if (layout_.order != kDefaultLayout.order) {
    bag.WriteProperty("DateOrder", static_cast<std::int32_t>(layout_.order),
                      static_cast<std::int32_t>(kDefaultLayout.order));
  }
  if (layout_.separator != kDefaultLayout.separator) {
    bag.WriteProperty("DateSeparator", DateSeparator(),
                      std::u16string(1, kDefaultLayout.separator));
  }
}

}  // namespace morlex
