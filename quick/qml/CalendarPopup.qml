// The look of the calendar: a Popup under the field that shows the
// calendar's widgets where the calendar places them. Keys and clicks go to
// the calendar through `form`; it decides what they do.
import QtQuick
import QtQuick.Controls

Popup {
    id: popup

    property QtObject form

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

        Repeater {
            model: popup.form ? popup.form.widgets : []
            delegate: Item {
                id: part
                required property var modelData
                required property int index
                readonly property string kind: modelData.kind
                x: modelData.x
                y: modelData.y
                width: modelData.width
                height: modelData.height
                visible: modelData.visible
                z: kind === "area" ? -1 : 0

                // A day of the month grid, a weekday heading or a caption.
                Rectangle {
                    visible: part.kind === "label"
                    anchors.fill: parent
                    color: part.modelData.cell ? popup.palette.base : "transparent"
                    border.width: part.modelData.bordered ? 2 : 0
                    border.color: popup.palette.highlight
                    Accessible.role: part.modelData.cell ? Accessible.Cell
                                                         : part.modelData.index >= 0 ? Accessible.ColumnHeader
                                                                                     : Accessible.StaticText
                    Accessible.name: part.modelData.day !== undefined
                                     ? part.modelData.day.toLocaleDateString(Qt.locale(), Locale.LongFormat)
                                     : part.modelData.caption || ""
                    Accessible.selected: part.modelData.bordered === true
                    Text {
                        anchors.fill: parent
                        text: part.modelData.caption || ""
                        font.bold: part.modelData.bold === true
                        color: popup.palette.text
                        // Headings size themselves by a metric of their own: the
                        // caption may run past them, never cut short.
                        elide: part.modelData.cell === true ? Text.ElideRight : Text.ElideNone
                        verticalAlignment: Text.AlignVCenter
                        horizontalAlignment: part.modelData.alignment === 2 ? Text.AlignHCenter
                                           : part.modelData.alignment === 1 ? Text.AlignRight : Text.AlignLeft
                    }
                }
                Button {
                    visible: part.kind === "button"
                    anchors.fill: parent
                    text: part.modelData.caption || ""
                    highlighted: part.modelData.isDefault === true
                    focusPolicy: Qt.NoFocus
                    onClicked: popup.form.click(part.index)
                }
                TextField {
                    visible: part.kind === "text"
                    anchors.fill: parent
                    text: part.modelData.caption || ""
                    readOnly: true
                    activeFocusOnTab: false
                    activeFocusOnPress: false
                    cursorVisible: part.modelData.focused === true
                }
                Column {
                    visible: part.kind === "updown"
                    anchors.fill: parent
                    Repeater {
                        model: [true, false]
                        delegate: Rectangle {
                            required property bool modelData
                            width: part.width
                            height: part.height / 2
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
                                onClicked: popup.form.spin(part.index, parent.modelData)
                            }
                        }
                    }
                }
                // The month grid: a table of dated cells under weekday headings.
                Frame {
                    visible: part.kind === "area"
                    anchors.fill: parent
                    Accessible.role: Accessible.Table
                    Accessible.name: qsTr("Days of the month")
                }
                MouseArea {
                    anchors.fill: parent
                    enabled: part.kind === "label" || part.kind === "text"
                    onClicked: popup.form.click(part.index)
                    onDoubleClicked: popup.form.doubleClick(part.index)
                }
            }
        }
    }
}
