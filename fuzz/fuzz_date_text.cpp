// Reading and rendering date text agree: a text that reads as a date renders,
// in every four-digit pattern, to a text that reads as the same date; a text
// that is not a date renders to itself; any pattern renders without fault;
// the same holds in every date layout.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "morlex/core/date_layout.h"
#include "morlex/core/date_text.h"
#include "morlex/core/unicode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto split = bytes.find('\n');
  const std::u16string text = morlex::FromUtf8(bytes.substr(0, split));
  const std::u16string pattern =
      split == std::string_view::npos ? u"" : morlex::FromUtf8(bytes.substr(split + 1));

  const auto date = morlex::ReadDateText(text, 2026);
  for (std::u16string_view p : {u"mm/dd/yyyy", u"m/d/yyyy"}) {
    const std::u16string rendered = morlex::RenderDate(text, p, 2026);
    if (date) {
      if (morlex::ReadDateText(rendered, 2026) != date) std::abort();
    } else if (rendered != text) {
      std::abort();
    }
  }
  // Two-digit patterns keep the date when its year lies in the window.
  for (std::u16string_view p : {u"mm/dd/yy", u"m/d/yy"}) {
    const std::u16string rendered = morlex::RenderDate(text, p, 2026);
    if (date && date->year >= 1930 && date->year <= 2029 &&
        morlex::ReadDateText(rendered, 2026) != date) {
      std::abort();
    }
  }
  if (date) (void)morlex::FormatDate(*date, pattern);

  // In every layout: the default one reads as above; the others read every
  // text that renders, render it in their own four-digit patterns to a text
  // that reads as the same date, and give a text that is no date back.
  for (const auto& order : morlex::kDateOrders) {
    for (char16_t separator : morlex::kDateSeparators) {
      const morlex::DateLayout layout{order.order, separator};
      const auto in_layout = morlex::ReadDateText(text, 2026, layout);
      if (layout.IsDefault() && in_layout != date) std::abort();
      for (std::int32_t format : {0, 2}) {
        const auto p = morlex::PatternInLayout(morlex::PatternOfFormat(format), layout);
        const std::u16string rendered = morlex::RenderDate(text, p, 2026, layout);
        if (in_layout) {
          if (morlex::ReadDateText(rendered, 2026, layout) != in_layout) std::abort();
        } else if (rendered != text) {
          std::abort();
        }
      }
    }
  }
  return 0;
}
