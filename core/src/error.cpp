#include "morlex/core/error.h"

#include <new>

namespace morlex {

ErrObject CurrentErrObject() {
  try {
    throw;
  } catch (const Error& e) {
    return {e.number(), e.description(), e.source()};
  } catch (const std::bad_alloc&) {
    return {7, "Out of memory", {}};
  } catch (const std::exception& e) {
    return {errnum::kHostFailure, e.what(), {}};
  } catch (...) {
    return {errnum::kHostFailure, "Unknown failure", {}};
  }
}

}  // namespace morlex
