// Reads and writes a date with the installed core library, whose version
// header agrees with the version of the package that found it.
#include <cstdio>
#include <string_view>

#include "morlex/core/date_text.h"
#include "morlex/core/unicode.h"
#include "morlex/core/version.h"

int main() {
  const std::u16string text = morlex::RenderDate(u"3/7/99", u"mm/dd/yyyy", 2026);
  std::printf("%s\n", morlex::ToUtf8(text).c_str());
  std::printf("%s\n", morlex::version::kText);
  const bool same_version = std::string_view(morlex::version::kText) == PACKAGE_VERSION;
  return text == u"03/07/1999" && same_version ? 0 : 1;
}
