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
        rightPadding: Math.max(leftPadding, control.width - control.textArea.x - control.textArea.width
                                                + leftPadding)
        text: control.text
        readOnly: true
        activeFocusOnTab: false
        activeFocusOnPress: false
        selectByMouse: false
        cursorVisible: control.activeFocus
        enabled: control.enabled
        Accessible.ignored: true
        function follow() {
            select(control.selectionStart, control.selectionEnd)
            if (control.selectionStart === control.selectionEnd)
                cursorPosition = control.cursorPosition
        }
        onTextChanged: follow()
    }
    onSelectionChanged: input.follow()

    // The spin indicator: its upper half steps up, its lower half down.
    ArrowIndicator {
        x: control.spinArea.x
        y: control.spinArea.y
        width: control.spinArea.width
        height: control.spinArea.height
        visible: control.spinArea.width > 0
        arrows: ArrowIndicator.UpDown
        color: input.palette.buttonText
    }

    // The calendar button.
    Rectangle {
        x: control.buttonArea.x
        y: control.buttonArea.y
        width: control.buttonArea.width
        height: control.buttonArea.height
        visible: control.buttonArea.width > 0
        color: control.popupOpen ? input.palette.mid : input.palette.button
        border.color: input.palette.mid
        ArrowIndicator {
            anchors.fill: parent
            anchors.margins: Math.round(parent.height / 4)
            arrows: ArrowIndicator.Down
            color: input.palette.buttonText
        }
    }

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.IBeamCursor
        onPressed: (mouse) => control.pressAt(mouse.x, mouse.y,
                                              input.positionAt(mouse.x - input.x, mouse.y - input.y))
        onDoubleClicked: (mouse) => control.doubleClickAt(mouse.x, mouse.y)
    }
}
