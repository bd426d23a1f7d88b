#include "morlex/platform/surface.h"

#include <string>

#include "morlex/core/error.h"

namespace morlex::platform::detail {

void NoSuchWidget(std::string_view name, int index) {
  std::string what = "Control '" + std::string(name) + "'";
  if (index >= 0) what += " array element " + std::to_string(index);
  throw Error(errnum::kNoSuchControl, what + " doesn't exist");
}

}  // namespace morlex::platform::detail
