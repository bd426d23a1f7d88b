#pragma once
// Text in double quotes, as the registry file and the host's scripts write
// it: a backslash escapes a quote or a backslash (and, where the format
// allows it, \n stands for a line break).

#include <cstddef>
#include <string>
#include <string_view>

namespace morlex {

enum class QuotedRead { kRead, kUnterminated, kBadEscape };

// Reads the quoted text that starts at line[at], just after its opening
// quote, into out; at ends just after the closing quote.
QuotedRead ReadQuoted(std::string_view line, std::size_t& at, std::string& out,
                      bool newline_escape);

}  // namespace morlex
