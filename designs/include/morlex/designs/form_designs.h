#pragma once
// The design-time values of the component's three surfaces: the control's
// own surface, the calendar pop-up and the about form. A toolkit builds each
// surface from its table when it is first used.

#include "morlex/platform/design.h"

namespace morlex::designs {

// The design size of the control's surface in twips: a host creates every
// control at this size, before it gives the control a size of its own.
inline constexpr float kControlDesignWidth = 2280;
inline constexpr float kControlDesignHeight = 885;

// The body of the date field: txtDate, spinCTL, cmdCalendar; key preview on.
const platform::SurfaceDesign& ControlSurface();
// frmCalendar: month and year fields, OK/Cancel, the 6 x 7 day grid.
const platform::SurfaceDesign& CalendarForm();
// frmAbout: the name, version and notice lines and cmdClose.
const platform::SurfaceDesign& AboutForm();

}  // namespace morlex::designs
