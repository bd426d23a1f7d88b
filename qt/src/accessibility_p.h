#pragma once
// Internal: what screen readers learn of the field and of its forms through
// Qt's accessibility interfaces (and so through AT-SPI): the field's editor
// named as the field and described as a date, its spin arrows and calendar
// button as named buttons, the calendar's day grid as a table of dated
// cells with the chosen day selected, and the forms' up-downs as named
// controls that step.

#include <QString>
#include <string_view>

class QWidget;

namespace morlex::qt::detail {

// Installs the interfaces with Qt, once per process; later calls do nothing.
void InstallAccessibility();

// The accessible name of a widget of a design by the design's name (the
// calendar's month and year boxes, their spins, the day grid); empty for a
// widget whose own caption or text names it.
QString AccessibleNameOfPart(std::string_view design_name);

// Names the field's editor as the field (its accessible name, or the text
// of a QLabel whose buddy it is) and describes it as a date in its order.
void NameFieldEditor(const QWidget& field, QWidget& editor);

// Names the calendar dialog that holds a day cell by the month the grid
// shows ("January 2000"); a change of it is told to a screen reader.
void AnnounceShownMonth(QWidget& cell, int month, int year);

// Tells a listening screen reader that a day cell became the chosen one;
// costs nothing while none listens.
void AnnounceChosenCell(QWidget& cell);

}  // namespace morlex::qt::detail
