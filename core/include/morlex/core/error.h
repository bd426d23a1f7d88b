#pragma once
// The project's one exception type, and the error record that DateError hands
// to the host.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace morlex {

// Error numbers in use. They follow the numbering that hosts of this kind of
// control already know, so that a host can tell the failures apart; each has
// its message in ErrorMessage.
namespace errnum {
inline constexpr std::int32_t kInvalidCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kFileFailure = 75;
inline constexpr std::int32_t kObjectNotSet = 91;
inline constexpr std::int32_t kNoSuchControl = 340;
inline constexpr std::int32_t kInvalidValue = 380;
inline constexpr std::int32_t kReadOnly = 383;
inline constexpr std::int32_t kAlreadyShown = 400;
inline constexpr std::int32_t kNoSuchMember = 438;
inline constexpr std::int32_t kHostFailure = 440;  // a failure reported by the host or toolkit
}  // namespace errnum

// The message of an error number above ("Type mismatch"); empty for any
// other number.
std::string_view ErrorMessage(std::int32_t number);
// The message followed by ": " and a detail ("File not found: 'a.bag'").
std::string ErrorMessage(std::int32_t number, std::string_view detail);

// A failure inside the component: a number, a description (UTF-8) and the
// source that raised it. Everything the project throws is an Error.
class Error : public std::exception {
 public:
  // A failure described by its number's message.
  explicit Error(std::int32_t number) : Error(number, std::string(ErrorMessage(number))) {}
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

// The description of a failure thrown as something other than a standard
// exception.
inline constexpr std::string_view kUnknownFailure = "Unknown failure";

// Turns whatever was caught in an error trap (call inside a catch block) into
// an error record. Non-project exceptions keep their what() as description.
ErrObject CurrentErrObject();

}  // namespace morlex
