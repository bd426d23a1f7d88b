// The about box.
#include "morlex/control/morlex_date.h"

namespace morlex {

void MorlexDate::AboutBox() {}

}  // namespace morlex
