import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morlex.Controls

ApplicationWindow {
    id: window
    width: 340
    height: 400
    visible: true
    title: qsTr("Travel dates")

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 14
        spacing: 6

        Label { text: qsTr("Arrival") }
        DateField {
            id: arrival
            objectName: "arrival"
            focus: true
            Accessible.name: qsTr("Arrival")
            Layout.fillWidth: true
        }
        Label { text: qsTr("Departure") }
        DateField {
            id: departure
            objectName: "departure"
            minimumDate: arrival.date
            Accessible.name: qsTr("Departure")
            Layout.fillWidth: true
        }
        Button {
            objectName: "print"
            text: qsTr("Print the dates")
            onClicked: {
                const show = (field) => isNaN(field.date.getTime())
                              ? qsTr("(none)") : field.date.toLocaleDateString(Qt.locale(), Locale.ShortFormat)
                print(qsTr("Arrival %1, departure %2").arg(show(arrival)).arg(show(departure)))
            }
        }
        Item { Layout.fillHeight: true }
    }
}
