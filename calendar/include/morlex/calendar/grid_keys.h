#pragma once
// The keys of the day grid as a plain function: where a key moves the chosen
// day, so that the dialog only mirrors the move onto its fields and grid.

#include <optional>

#include "morlex/core/date.h"
#include "morlex/platform/widgets.h"

namespace morlex::calendar {

// The day a key moves the chosen day to: Left and Right one day, Up and Down
// one week, PageUp and PageDown one month (one year with Ctrl), Home and End
// the first and last day of the chosen day's month. A month or year step
// keeps the day of month, cut back to the target month's last day. nullopt
// for any other key (and for any key with Alt, which belongs to the form),
// and for a move before the year 100 or after 9999.
// True for the keys that move the chosen day (whether or not a move is
// possible from a given day).
bool MovesChosenDay(platform::NavKey key, bool alt);

std::optional<Date> MoveChosenDay(const Date& chosen, platform::NavKey key, bool ctrl, bool alt);

}  // namespace morlex::calendar
