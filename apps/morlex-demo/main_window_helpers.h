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

// The field's label with its access key: Alt and the letter moves to the
// field, and the label names it for screen readers. The letters stay clear
// of the menus' (File, Record, View, Help).
inline QString LabelWithAccessKey(DateColumn column) {
  switch (column) {
    case DateColumn::kBorn:
      return QStringLiteral("&Born");
    case DateColumn::kHired:
      return QStringLiteral("H&ired");
    case DateColumn::kReviewed:
      break;
  }
  return QStringLiteral("R&eviewed");
}

}  // namespace morlex::demo
