// The look of the calendar: a Popup under the field that shows the
// calendar's widgets where the calendar places them. Keys and clicks go to
// the calendar through `form`; it decides what they do.
import QtQuick
import QtQuick.Controls

Popup {
    id: popup

    property QtObject form
    // The form's widgets as the form last told them.
    readonly property var parts: form ? form.widgets : []

    y: parent ? parent.height : 0
    modal: true
    focus: true
    padding: 6
    closePolicy: Popup.CloseOnPressOutside
    contentWidth: form ? form.contentWidth : 0
    contentHeight: form ? form.contentHeight : 0

    contentItem: Item {
        focus: true
        Accessible.role: Accessible.Dialog
        Accessible.name: popup.form ? popup.form.caption : ""
        Keys.onPressed: (event) => { event.accepted = popup.form.key(event.key, event.modifiers, event.text) }

        // One delegate for each widget of the form, kept while the popup is
        // open: a change of the form updates them in place, and each makes
        // only the item of its own kind.
        Repeater {
            model: popup.parts.length
            delegate: Loader {
                id: part
                required property int index
                readonly property var modelData: popup.parts[index] || ({})
                readonly property string kind: modelData.kind || ""
                x: modelData.x || 0
                y: modelData.y || 0
                width: modelData.width || 0
                height: modelData.height || 0
                visible: modelData.visible === true
                z: kind === "area" ? -1 : 0
                sourceComponent: kind === "label" ? labelPart
                               : kind === "button" ? buttonPart
                               : kind === "text" ? textPart
                               : kind === "updown" ? upDownPart
                               : kind === "area" ? areaPart : null
            }
        }
    }

    // The parts, by kind; `parent` is the part's Loader.
    Component {
        id: labelPart
        // A day of the month grid, a weekday heading or a caption.
        Rectangle {
            readonly property var info: parent ? parent.modelData : ({})
            color: info.cell ? popup.palette.base : "transparent"
            border.width: info.bordered ? 2 : 0
            border.color: popup.palette.highlight
            Accessible.role: info.cell ? Accessible.Cell
                                       : info.index >= 0 ? Accessible.ColumnHeader : Accessible.StaticText
            Accessible.name: info.day !== undefined
                             ? info.day.toLocaleDateString(Qt.locale(), Locale.LongFormat)
                             : info.caption || ""
            Accessible.selected: info.bordered === true
            Text {
                anchors.fill: parent
                text: parent.info.caption || ""
                font.bold: parent.info.bold === true
                color: popup.palette.text
                // Headings size themselves by a metric of their own: the
                // caption may run past them, never cut short.
                elide: parent.info.cell === true ? Text.ElideRight : Text.ElideNone
                verticalAlignment: Text.AlignVCenter
                horizontalAlignment: parent.info.alignment === 2 ? Text.AlignHCenter
                                   : parent.info.alignment === 1 ? Text.AlignRight : Text.AlignLeft
            }
            MouseArea {
                anchors.fill: parent
                onClicked: popup.form.click(parent.parent.index)
                onDoubleClicked: popup.form.doubleClick(parent.parent.index)
            }
        }
    }
    Component {
        id: buttonPart
        Button {
            text: parent ? parent.modelData.caption || "" : ""
            onClicked: popup.form.click(parent.index)
        }
    }
    Component {
        id: textPart
        TextField {
            text: parent ? parent.modelData.caption || "" : ""
            readOnly: true
            activeFocusOnTab: false
            activeFocusOnPress: false
            cursorVisible: parent ? parent.modelData.focused === true : false
            MouseArea {
                anchors.fill: parent
                onClicked: popup.form.click(parent.parent.index)
                onDoubleClicked: popup.form.doubleClick(parent.parent.index)
            }
        }
    }
    Component {
        id: upDownPart
        Column {
            Repeater {
                model: [true, false]
                delegate: Rectangle {
                    required property bool modelData
                    width: parent.width
                    height: parent.height / 2
                    color: popup.palette.button
                    border.color: popup.palette.mid
                    Text {
                        anchors.centerIn: parent
                        text: parent.modelData ? "\u25B4" : "\u25BE"
                        color: popup.palette.buttonText
                        font.pixelSize: Math.max(6, parent.height * 0.8)
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: popup.form.spin(parent.parent.parent.index, parent.modelData)
                    }
                }
            }
        }
    }
    Component {
        id: areaPart
        // The month grid: a table of dated cells under weekday headings.
        Frame {
            Accessible.role: Accessible.Table
            Accessible.name: qsTr("Days of the month")
        }
    }
}
