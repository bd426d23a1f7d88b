#include "morlex/core/quoted_text.h"

namespace morlex {

QuotedRead ReadQuoted(std::string_view line, std::size_t& at, std::string& out,
                      bool newline_escape) {
  while (at < line.size()) {
    const char c = line[at++];
    if (c == '"') return QuotedRead::kRead;
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (at >= line.size()) return QuotedRead::kBadEscape;
    const char escaped = line[at++];
    if (escaped == '"' || escaped == '\\') {
      out.push_back(escaped);
    } else if (escaped == 'n' && newline_escape) {
      out.push_back('\n');
    } else {
      return QuotedRead::kBadEscape;
    }
  }
  return QuotedRead::kUnterminated;
}

}  // namespace morlex
