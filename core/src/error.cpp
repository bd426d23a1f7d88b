#include "morlex/core/error.h"

#include <new>

namespace morlex {

namespace {

struct Message {
  std::int32_t number;
  std::string_view text;
};

constexpr Message kMessages[] = {
    {errnum::kInvalidCall, "Invalid procedure call or argument"},
    {errnum::kOverflow, "Overflow"},
    {errnum::kOutOfMemory, "Out of memory"},
    {errnum::kTypeMismatch, "Type mismatch"},
    {errnum::kFileNotFound, "File not found"},
    {errnum::kFileFailure, "Path/File access error"},
    {errnum::kObjectNotSet, "Object variable not set"},
    {errnum::kNoSuchControl, "Control array element doesn't exist"},
    {errnum::kInvalidValue, "Invalid property value"},
    {errnum::kReadOnly, "Property is read-only"},
    {errnum::kAlreadyShown, "Form already displayed; can't show modally"},
    {errnum::kNoSuchMember, "Object doesn't support this property or method"},
    {errnum::kHostFailure, "Automation error"},
};

}  // namespace

std::string_view ErrorMessage(std::int32_t number) {
  for (const Message& m : kMessages) {
    if (m.number == number) return m.text;
  }
  return {};
}

std::string ErrorMessage(std::int32_t number, std::string_view detail) {
  std::string message(ErrorMessage(number));
  message += ": ";
  message += detail;
  return message;
}

ErrObject CurrentErrObject() {
  try {
    throw;
  } catch (const Error& e) {
    return {e.number(), e.description(), e.source()};
  } catch (const std::bad_alloc&) {
    return {errnum::kOutOfMemory, std::string(ErrorMessage(errnum::kOutOfMemory)), {}};
  } catch (const std::exception& e) {
    return {errnum::kHostFailure, e.what(), {}};
  } catch (...) {
    return {errnum::kHostFailure, std::string(kUnknownFailure), {}};
  }
}

}  // namespace morlex
