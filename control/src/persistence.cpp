// First-time initialisation, loading and saving of the field's settings.
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"
#include "scoped_flag.h"

namespace morlex {

void MorlexDate::InitProperties() {
  {
    // The size changes here must not lay the control out; the first pass
    // after initialisation applies the default size instead.
    detail::ScopedFlag resizing(m_blnResizing);
    host_.SetWidth(1635);
    host_.SetHeight(315);
    txtDate.SetText(FormatDate(host_.GetClock().Today(), m_strDateFormat));
  }
  m_blnApplyDefaultSize = true;
}

void MorlexDate::ReadProperties(platform::PropertyBag& bag) {
  (void)bag;
}

void MorlexDate::WriteProperties(platform::PropertyBag& bag) {
  (void)bag;
}

}  // namespace morlex
