// The spin indicator: steps the month, day or year under the remembered caret.
#include "morlex/control/morlex_date.h"

namespace morlex {

void MorlexDate::spinCTL_Change() {}

void MorlexDate::SpinTheDate(std::int16_t step) {
  (void)step;
}

}  // namespace morlex
