#pragma once
// A font object. The control hands fonts around by reference (shared
// ownership): assigning a font makes the text box use the caller's object.

#include <cstdint>
#include <memory>
#include <string>

namespace morlex::platform {

struct Font {
  std::u16string name = u"MS Sans Serif";
  float size = 8.0F;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  std::int16_t weight = 400;
  std::int16_t charset = 0;

  friend bool operator==(const Font&, const Font&) = default;
};

using FontRef = std::shared_ptr<Font>;

}  // namespace morlex::platform
