#pragma once
// The date layout that a locale writes its short dates in.

#include <QLocale>

#include "morlex/core/date_layout.h"

namespace morlex::qt::detail {

// The order in which day, month and year first appear in the locale's short
// date format, and the first of "/", "." and "-" between them ("/" when none
// is); month/day/year for any other order, or when the format lacks one of
// the three.
DateLayout LayoutOfLocale(const QLocale& locale);
DateLayout LayoutOfDateFormat(const QString& format);

}  // namespace morlex::qt::detail
