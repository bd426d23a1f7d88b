// `import Morlex.Controls` from wherever QML2_IMPORT_PATH points (an install,
// an unpacked package): the module loads and makes a working DateField.
import QtQuick
import QtTest
import Morlex.Controls

TestCase {
    name: "Import"

    DateField {
        id: field
        date: new Date(2026, 11, 8)
    }

    function test_fieldWorks() {
        compare(field.text, "12/08/2026")
        verify(field.implicitWidth > 0)
    }
}
