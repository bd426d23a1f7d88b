// Reads and writes a date with the installed core library.
#include <cstdio>

#include "morlex/core/date_text.h"
#include "morlex/core/unicode.h"

int main() {
  const std::u16string text = morlex::RenderDate(u"3/7/99", u"mm/dd/yyyy", 2026);
  std::printf("%s\n", morlex::ToUtf8(text).c_str());
  return text == u"03/07/1999" ? 0 : 1;
}
