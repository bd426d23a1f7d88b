// The look of the calendar: a Popup under the field that shows the
// calendar's widgets where the calendar places them. Keys and clicks go to
// the calendar through `form`; it decides what they do. The field makes the
// popup on its first opening and keeps it: `parts` tells only of the widgets
// that changed since, so a reopening redraws next to nothing.
import QtQuick
import QtQuick.Controls
import Morlex.Controls

Popup {
    id: popup

    // The open form's hands (null while closed) and its widgets, a row each.
    property QtObject form
    property QtObject parts

    y: parent ? parent.height : 0
    modal: true
    focus: true
    padding: 6
    closePolicy: Popup.CloseOnPressOutside
    contentWidth: parts ? parts.contentWidth : 0
    contentHeight: parts ? parts.contentHeight : 0

    contentItem: Item {
        id: content
        focus: true
        Accessible.role: Accessible.Dialog
        Accessible.name: popup.parts ? popup.parts.caption : ""
        Keys.onPressed: (event) => { event.accepted = popup.form ? popup.form.key(event.key, event.modifiers, event.text) : false }

        // The hands on the labels, texts and up-downs, one area under them
        // all (none of them takes a press, so it reaches this): the part under the
        // pointer says which widget it is.
        MouseArea {
            anchors.fill: parent
            z: -2
            function partAt(mouse) {
                let p = content.childAt(mouse.x, mouse.y)
                if (p === mark)
                    p = mark.cell
                return p && p.kind !== undefined && popup.form ? p : null
            }
            onClicked: (mouse) => {
                const p = partAt(mouse)
                if (p && (p.kind === "label" || p.kind === "text"))
                    popup.form.click(p.index)
                else if (p && p.kind === "updown")
                    popup.form.spin(p.index, mouse.y < p.y + p.height / 2)
            }
            onDoubleClicked: (mouse) => {
                const p = partAt(mouse)
                if (p && (p.kind === "label" || p.kind === "text"))
                    popup.form.doubleClick(p.index)
            }
        }

        // The captions of all the labels, in the popup's font and text
        // colour: over the grid's ground, under the parts. It comes before
        // them among the children, as childAt() looks from the last child
        // back: the part under the pointer is what a press finds.
        FormCaptions {
            anchors.fill: parent
            z: -0.5
            parts: popup.parts
            font: popup.font
            color: popup.palette.text
        }

        // One delegate for each widget of the form, kept with the popup: a
        // change of the form updates them in place. A label (most of the
        // form: the month's days and their headings) is an item of its own
        // for the hands and for accessibility, its caption drawn with the
        // others below; any other kind adds the one item it needs.
        Repeater {
            id: cells
            model: popup.parts
            delegate: Item {
                id: part
                required property int index
                required property var model
                readonly property var modelData: model
                readonly property string kind: model.kind
                x: model.x
                y: model.y
                width: model.width
                height: model.height
                visible: model.visible
                z: kind === "area" ? -1 : 0
                Accessible.role: model.cell ? Accessible.Cell
                               : kind === "area" ? Accessible.Table
                               : model.number >= 0 ? Accessible.ColumnHeader : Accessible.StaticText
                Accessible.name: model.day !== undefined
                                 ? model.day.toLocaleDateString(Qt.locale(), Locale.LongFormat)
                                 : kind === "area" ? qsTr("Days of the month") : model.caption
                Accessible.selected: model.bordered
                Component.onCompleted: {
                    const look = kind === "button" ? buttonPart : kind === "text" ? textPart
                               : kind === "updown" ? upDownPart : kind === "area" ? areaPart : null
                    if (look)
                        look.createObject(part)
                }
            }
        }

        // The mark of the chosen day: one for the grid, put over its cell.
        Rectangle {
            id: mark
            readonly property Item cell: popup.parts && popup.parts.marked >= 0
                                         ? cells.itemAt(popup.parts.marked) : null
            visible: cell !== null && cell.visible
            x: cell ? cell.x : 0
            y: cell ? cell.y : 0
            width: cell ? cell.width : 0
            height: cell ? cell.height : 0
            color: "transparent"
            border.width: 2
            border.color: popup.palette.highlight
        }
    }

    // The looks of the widgets other than labels; `parent` is the delegate.
    Component {
        id: buttonPart
        Button {
            id: button
            anchors.fill: parent
            // The form gives the button its size: a style's padding that
            // would cut the caption short (Material's capitals) gives way.
            readonly property real room: Math.max(1, (parent.width - metrics.advanceWidth(text)) / 2 - 1)
            FontMetrics {
                id: metrics
                font: button.font
            }
            leftPadding: Math.min(horizontalPadding, room)
            rightPadding: Math.min(horizontalPadding, room)
            text: parent.model.caption
            onClicked: popup.form.click(parent.index)
        }
    }
    Component {
        id: textPart
        // The month's name and the year: shown, never typed into here (the
        // form takes the keys).
        Rectangle {
            anchors.fill: parent
            color: popup.palette.base
            border.color: popup.palette.mid
            Text {
                id: shown
                anchors.fill: parent
                leftPadding: 4
                verticalAlignment: Text.AlignVCenter
                text: parent.parent.model.caption
                color: popup.palette.text
                // The caret, at the end, while the form's focus is here.
                Rectangle {
                    visible: shown.parent.parent.model.focused
                    x: shown.leftPadding + shown.contentWidth
                    y: (shown.height - height) / 2
                    width: 1
                    height: Math.min(shown.height, shown.contentHeight)
                    color: popup.palette.text
                }
            }
        }
    }
    Component {
        id: upDownPart
        // Its upper half steps up, its lower half down (the area above
        // takes the press). The arrows are the field's own.
        ArrowIndicator {
            anchors.fill: parent
            arrows: ArrowIndicator.UpDown
            color: popup.palette.buttonText
        }
    }
    Component {
        id: areaPart
        // The month grid's ground, the cells' colour.
        Rectangle {
            anchors.fill: parent
            color: popup.palette.base
        }
    }
}
