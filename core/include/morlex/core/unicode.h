#pragma once
// Text in the control is UTF-16, as the text boxes of the toolkits count it: a
// caret position or a length counts UTF-16 code units. Hosts and files speak
// UTF-8; these convert at that boundary.

#include <string>
#include <string_view>

namespace morlex {

// Converts UTF-8 to UTF-16. Malformed sequences become U+FFFD; never throws
// for bad input.
std::u16string FromUtf8(std::string_view utf8);

// Converts UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view utf16);

// Removes leading and trailing blanks (U+0020 only, as the date rules mean).
std::u16string_view TrimBlanks(std::u16string_view text);

}  // namespace morlex
