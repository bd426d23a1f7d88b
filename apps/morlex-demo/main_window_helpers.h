#pragma once
// What the parts of the demo's main window share: text conversions and the
// pattern each field starts with.

#include <QString>
#include <string_view>

#include "record_store.h"

namespace morlex::demo {

inline QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QString Q(std::u16string_view utf16) {
  return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

// The pattern each field starts with, so that the form shows the formats side
// by side.
inline int StartFormat(DateColumn column) {
  switch (column) {
    case DateColumn::kBorn:
      return 0;  // mm/dd/yyyy
    case DateColumn::kHired:
      return 2;  // m/d/yyyy
    case DateColumn::kReviewed:
      break;
  }
  return 1;  // mm/dd/yy
}

}  // namespace morlex::demo
