// The look of DateField in the style in use: a TextField of the style shows
// the text, caret and selection; the spin indicator and the calendar button
// are drawn where the control lays them out. All behaviour is in
// DateFieldTemplate; a style of its own replaces this file.
import QtQuick
import QtQuick.Controls
import Morlex.Controls

DateFieldTemplate {
    id: control

    // The font and palette of the style and window, as a TextField has them.
    property alias font: input.font
    readonly property alias palette: input.palette
    // The widest text of the pattern in force, and the font's line height.
    readonly property size textSize: control.measure(input.font, control.pattern)
    readonly property real indicatorWidth: Math.max(12, Math.round(textSize.height * 0.9))

    implicitWidth: Math.ceil(textSize.width) + input.leftPadding + 8 + 3 * indicatorWidth
    implicitHeight: input.implicitHeight
    baselineOffset: input.y + input.baselineOffset

    Accessible.role: Accessible.EditableText
    Accessible.editable: true
    Accessible.readOnly: control.readOnly
    Accessible.focusable: true
    Accessible.description: qsTr("Date, typed as %1").arg(control.pattern)

    TextField {
        id: input
        anchors.fill: parent
        rightPadding: leftPadding + control.textRightInset
        text: control.text
        readOnly: true
        activeFocusOnTab: false
        activeFocusOnPress: false
        selectByMouse: false
        cursorVisible: control.activeFocus
        Accessible.ignored: true
        function follow() {
            select(control.selectionStart, control.selectionEnd)
            if (control.selectionStart === control.selectionEnd)
                cursorPosition = control.cursorPosition
        }
        onTextChanged: follow()
    }
    onSelectionChanged: input.follow()

    // The spin indicator (its upper half steps up, its lower half down)
    // and the calendar button; the field places them over their areas.
    spinIndicator: ArrowIndicator {
        z: 1
        arrows: ArrowIndicator.UpDown
        color: input.palette.buttonText
    }
    calendarButton: ArrowIndicator {
        z: 1
        arrows: ArrowIndicator.Down
        fill: control.popupOpen ? input.palette.mid : input.palette.button
        frame: input.palette.mid
        padding: Math.round(height / 4)
        color: input.palette.buttonText
    }

    // Which character of the text lies under a point of the field: the
    // field asks at a press.
    function textPositionAt(x, y) {
        return input.positionAt(x - input.x, y - input.y)
    }
}
