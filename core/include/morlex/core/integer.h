#pragma once
// The control keeps caret positions and the positions of the separators as
// 16-bit integers, as its hosts see them. A value that does not fit is the
// run-time error Overflow, never a silent wrap.

#include <cstdint>
#include <limits>

#include "morlex/core/error.h"

namespace morlex {

// value as a 16-bit integer; throws Error 6 "Overflow" when it does not fit.
inline std::int16_t ToInteger16(std::int64_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw Error(errnum::kOverflow);
  }
  return static_cast<std::int16_t>(value);
}

}  // namespace morlex
