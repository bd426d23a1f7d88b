#pragma once
// The project's one exception type, and the error record that DateError hands
// to the host.

#include <cstdint>
#include <exception>
#include <string>

namespace morlex {

// Error numbers in use. They follow the numbering that hosts of this kind of
// control already know, so that a host can tell the failures apart.
namespace errnum {
inline constexpr std::int32_t kInvalidCall = 5;     // "Invalid procedure call or argument"
inline constexpr std::int32_t kOverflow = 6;        // "Overflow"
inline constexpr std::int32_t kTypeMismatch = 13;   // "Type mismatch"
inline constexpr std::int32_t kInvalidValue = 380;  // "Invalid property value"
inline constexpr std::int32_t kReadOnly = 383;      // "Property is read-only"
inline constexpr std::int32_t kNoSuchMember =
    438;  // "Object doesn't support this property or method"
inline constexpr std::int32_t kHostFailure = 440;  // a failure reported by the host or toolkit
inline constexpr std::int32_t kFileFailure = 75;   // "Path/File access error"
}  // namespace errnum

// A failure inside the component: a number, a description (UTF-8) and the
// source that raised it. Everything the project throws is an Error.
class Error : public std::exception {
 public:
  Error(std::int32_t number, std::string description, std::string source = {})
      : number_(number), description_(std::move(description)), source_(std::move(source)) {}

  std::int32_t number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const std::string& source() const noexcept { return source_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  std::int32_t number_;
  std::string description_;
  std::string source_;
};

// The error record passed with DateError: the failure's number and
// description, and the source "MorlexDate.<procedure>" set by the control.
struct ErrObject {
  std::int32_t number = 0;
  std::string description;
  std::string source;
};

// Turns whatever was caught in an error trap (call inside a catch block) into
// an error record. Non-project exceptions keep their what() as description.
ErrObject CurrentErrObject();

}  // namespace morlex
