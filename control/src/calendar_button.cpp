// The calendar button: opens the month calendar on the field's date.
#include "morlex/control/morlex_date.h"

namespace morlex {

void MorlexDate::cmdCalendar_Click() {}

}  // namespace morlex
