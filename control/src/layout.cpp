// Placement of txtDate, cmdCalendar and spinCTL inside the control.
#include "morlex/control/morlex_date.h"
#include "morlex/control/scoped_flag.h"

namespace morlex {
namespace {
constexpr float kMinimumHeight = 46;
constexpr float kTextTop = 15;
constexpr float kSpinTop = 35;
constexpr float kHeightInset = 30;
constexpr float kSpinHeightInset = 45;
}  // namespace

void MorlexDate::InitialPlacement() {
  txtDate.SetLeft(0);
  txtDate.SetTop(kTextTop);
  spinCTL.SetTop(kSpinTop);
  cmdCalendar.SetTop(kTextTop);
  LayoutWidths();
}

// Steps shared by the layout pass and loading: the widths follow the
// calendar flag, and the spin indicator lies over the right end of the text.
void MorlexDate::LayoutWidths() {
  if (m_blnCalendar) {
    txtDate.SetWidth(host_.Width() - cmdCalendar.Width());
    cmdCalendar.SetLeft(txtDate.Width());
  } else {
    txtDate.SetWidth(host_.Width());
  }
  spinCTL.SetLeft(txtDate.Width() - spinCTL.Width() - kSpinGap);
}

void MorlexDate::Resize() {
  LayoutPass();
}

void MorlexDate::LayoutPass() {
  // A size change asked for below comes back here synchronously; the pass
  // that asked goes on by itself.
  if (m_blnResizing) return;

  if (m_blnApplyDefaultSize) {
    {
      ScopedFlag resizing(m_blnResizing);
      host_.SetHeight(kDefaultHeight);
      host_.SetWidth(kDefaultWidth);
    }
    m_blnApplyDefaultSize = false;
  }

  if (host_.Height() < kMinimumHeight) {
    ScopedFlag resizing(m_blnResizing);
    host_.SetHeight(kDefaultHeight);
  }
  // A host that keeps the control lower than the minimum gets no layout.
  if (host_.Height() < kMinimumHeight) return;

  // The button's width counts whether or not the calendar is wanted.
  if (static_cast<float>(host_.Width() - cmdCalendar.Width()) < 0) {
    {
      ScopedFlag resizing(m_blnResizing);
      host_.SetWidth(kDefaultWidth);
    }
    if (static_cast<float>(host_.Width() - cmdCalendar.Width()) < 0) return;
  }

  const float height = host_.Height();
  txtDate.SetHeight(height - kHeightInset);
  spinCTL.SetHeight(height - kSpinHeightInset);
  cmdCalendar.SetHeight(height - kHeightInset);
  LayoutWidths();
}

}  // namespace morlex
