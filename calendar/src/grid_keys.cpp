#include "morlex/calendar/grid_keys.h"

namespace morlex::calendar {

bool MovesChosenDay(platform::NavKey key, bool alt) {
  using platform::NavKey;
  switch (key) {
    case NavKey::kLeft:
    case NavKey::kRight:
    case NavKey::kUp:
    case NavKey::kDown:
    case NavKey::kPageUp:
    case NavKey::kPageDown:
    case NavKey::kHome:
    case NavKey::kEnd:
      return !alt;
    default:
      return false;
  }
}

std::optional<Date> MoveChosenDay(const Date& chosen, platform::NavKey key, bool ctrl, bool alt) {
  using platform::NavKey;
  if (alt || !chosen.ok()) return std::nullopt;
  switch (key) {
    case NavKey::kLeft:
      return AddToDate(DateUnit::kDays, -1, chosen);
    case NavKey::kRight:
      return AddToDate(DateUnit::kDays, 1, chosen);
    case NavKey::kUp:
      return AddToDate(DateUnit::kDays, -7, chosen);
    case NavKey::kDown:
      return AddToDate(DateUnit::kDays, 7, chosen);
    case NavKey::kPageUp:
      return AddToDate(ctrl ? DateUnit::kYears : DateUnit::kMonths, -1, chosen);
    case NavKey::kPageDown:
      return AddToDate(ctrl ? DateUnit::kYears : DateUnit::kMonths, 1, chosen);
    case NavKey::kHome:
      return Date{chosen.year, chosen.month, 1};
    case NavKey::kEnd:
      return Date{chosen.year, chosen.month, DaysInMonth(chosen.year, chosen.month)};
    default:
      return std::nullopt;
  }
}

}  // namespace morlex::calendar
