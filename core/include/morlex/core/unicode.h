#pragma once
// Text in the control is UTF-16, as the text boxes of the toolkits count it: a
// caret position or a length counts UTF-16 code units. Hosts and files speak
// UTF-8; these convert at that boundary.

#include <cstddef>
#include <string>
#include <string_view>

namespace morlex {

// Converts UTF-8 to UTF-16. Malformed sequences become U+FFFD; never throws
// for bad input.
std::u16string FromUtf8(std::string_view utf8);

// The length of the well-formed UTF-8 sequence that starts at text[at], with
// its code point in code_point; 0 when the bytes there are none (a stray
// continuation byte, a cut or overlong sequence, a surrogate, a value past
// U+10FFFF) or at is past the end.
std::size_t DecodeUtf8At(std::string_view text, std::size_t at, char32_t& code_point);

// Appends a code point as UTF-16: a surrogate pair above U+FFFF.
void AppendUtf16(std::u16string& out, char32_t code_point);

// Converts UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view utf16);

// Removes leading and trailing blanks (U+0020 only, as the date rules mean).
std::u16string_view TrimBlanks(std::u16string_view text);

}  // namespace morlex
