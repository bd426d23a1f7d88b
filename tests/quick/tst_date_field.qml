import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtTest
import Morlex.Controls

Item {
    id: root
    width: 480
    height: 480

    Component {
        id: fieldComponent
        DateField {}
    }
    // A field on the style's own ground, as in an application's window.
    Component {
        id: groundComponent
        Pane {
            width: 320
            height: 320
            padding: 0
            property alias field: grounded
            DateField {
                id: grounded
                date: new Date(2026, 11, 8)
            }
        }
    }
    TextField {
        id: elsewhere
        y: 400
    }
    // Plays the user while the calendar popup runs (the field waits for it).
    Timer {
        id: player
        interval: 10
        property var act
        onTriggered: act()
    }

    TestCase {
        name: "DateField"
        when: windowShown

        function make(props) {
            const field = createTemporaryObject(fieldComponent, root, props || {})
            verify(field)
            return field
        }
        function iso(date) {
            return isNaN(date.getTime()) ? "invalid" : Qt.formatDate(date, "yyyy-MM-dd")
        }
        function typeText(text) {
            for (let i = 0; i < text.length; ++i)
                keyClick(text[i])
        }
        function spy(target, signalName) {
            return createTemporaryObject(spyComponent, root, {target: target, signalName: signalName})
        }
        Component {
            id: spyComponent
            SignalSpy {}
        }
        // The delegates of the open popup that satisfy pred.
        function parts(field, pred) {
            const found = []
            const kids = field.popupObject.contentItem.children
            for (let i = 0; i < kids.length; ++i) {
                if (kids[i].modelData !== undefined && pred(kids[i].modelData))
                    found.push(kids[i])
            }
            return found
        }

        function test_dateAndText_data() {
            return [
                {tag: "a date shows in the format in force", format: DateFieldTemplate.LeadingZerosCentury,
                 date: new Date(2026, 11, 8), text: "12/08/2026", read: "2026-12-08", acceptable: true},
                {tag: "two-digit years keep their century", format: DateFieldTemplate.NoLeadingZerosNoCentury,
                 date: new Date(1920, 0, 5), text: "1/5/20", read: "1920-01-05", acceptable: true},
                {tag: "a text that is no date has no date", format: DateFieldTemplate.LeadingZerosCentury,
                 text: "99/99/2026", read: "invalid", acceptable: false},
                {tag: "an empty text is acceptable", format: DateFieldTemplate.LeadingZerosCentury,
                 text: "", read: "invalid", acceptable: true},
            ]
        }
        function test_dateAndText(data) {
            const field = make({dateFormat: data.format})
            const changed = spy(field, "dateChanged")
            if (data.date !== undefined)
                field.date = data.date
            else
                field.text = data.text
            compare(field.text, data.text)
            compare(iso(field.date), data.read)
            compare(field.acceptableInput, data.acceptable)
            compare(changed.count, data.read === "invalid" ? 0 : 1)
        }

        function test_rangeRefusesDatesOutside() {
            const field = make({minimumDate: new Date(2026, 0, 1), maximumDate: new Date(2026, 11, 31)})
            field.date = new Date(2026, 5, 1)
            field.date = new Date(2027, 0, 1)
            compare(iso(field.date), "2026-06-01")
            field.text = "01/01/2027"
            verify(!field.acceptableInput)
            // Moving one bound past the other takes the other along.
            field.minimumDate = new Date(2030, 0, 1)
            compare(iso(field.maximumDate), "2030-01-01")
        }

        function test_typingThenLeavingCommits() {
            const field = make()
            const committed = spy(field, "committed")
            const changed = spy(field, "dateChanged")
            field.forceActiveFocus()
            typeText("01051999")
            compare(field.text, "01/05/1999")
            compare(iso(field.date), "1999-01-05")
            verify(changed.count >= 1)
            compare(committed.count, 0)
            elsewhere.forceActiveFocus()
            compare(committed.count, 1)
        }

        function test_enterReportsInvalidText() {
            const field = make({text: "99/99/2026"})
            const invalid = spy(field, "dateInvalid")
            field.forceActiveFocus()
            keyClick(Qt.Key_Return)
            compare(invalid.count, 1)
        }

        function test_readOnlyTakesNoTyping() {
            const field = make({text: "12/08/2026", readOnly: true})
            field.forceActiveFocus()
            keyClick("5")
            keyClick(Qt.Key_Up)
            compare(field.text, "12/08/2026")
        }

        function test_spinByKeyAndIndicator() {
            const field = make({date: new Date(2026, 11, 8)})
            field.forceActiveFocus()
            keyClick(Qt.Key_End)
            keyClick(Qt.Key_Up)
            compare(iso(field.date), "2027-12-08")
            verify(field.spinArea.width > 0)
            const a = field.spinArea
            mouseClick(field, a.x + a.width / 2, a.y + a.height * 3 / 4)
            verify(field.text !== "12/08/2027")
        }

        // A press on the text puts the caret at the character under it (the
        // field asks its look), left of the first or past the last; a double
        // click inside the text selects the part under it.
        function test_pressOnTheText_data() {
            return [
                {tag: "left of the first character", right: false, caret: 0},
                {tag: "right of the last character", right: true, caret: 10},
            ]
        }
        function test_pressOnTheText(data) {
            const field = make({date: new Date(2026, 11, 8)})
            waitForRendering(field)
            const a = field.textArea
            // The text box runs on under the spin indicator; the text ends before it.
            const left = a.x + 1
            const right = field.spinArea.x - 2
            const x = data.right ? right : left
            mouseClick(field, x, a.y + a.height / 2)
            verify(field.activeFocus)
            compare(field.cursorPosition, data.caret)
            const doubled = spy(field, "doubleClicked")
            mouseDoubleClickSequence(field, (left + right) / 2, a.y + a.height / 2)
            compare(doubled.count, 1)
            verify(field.selectionEnd - field.selectionStart >= 2)
        }

        function test_implicitSizeFitsTheText() {
            const field = make({date: new Date(2026, 11, 8)})
            verify(field.implicitWidth > 0 && field.implicitHeight > 0)
            verify(field.textArea.width >= field.font.pixelSize * 4 || field.textArea.width >= 40)
        }

        function test_popupByKeys_data() {
            return [
                {tag: "Alt+Down, Tab round to the days, Right, Space picks the next day", open: Qt.Key_Down, mods: Qt.AltModifier,
                 keys: [[Qt.Key_Tab], [Qt.Key_Tab], [Qt.Key_Tab], [Qt.Key_Tab], [Qt.Key_Right], [Qt.Key_Space]],
                 text: "12/09/2026"},
                {tag: "F4, a day, Esc cancels", open: Qt.Key_F4, mods: Qt.NoModifier,
                 keys: [[Qt.Key_Tab, Qt.ShiftModifier], [Qt.Key_Up], [Qt.Key_Escape]], text: "12/08/2026"},
            ]
        }
        function test_popupByKeys(data) {
            const field = make({date: new Date(2026, 11, 8)})
            field.forceActiveFocus()
            let sawOpen = false
            player.act = function() {
                sawOpen = field.popupOpen
                for (const k of data.keys)
                    keyClick(k[0], k[1] || Qt.NoModifier)
                // Never leaves the popup open when a step above went wrong.
                if (field.popupObject)
                    field.popupObject.close()
            }
            player.start()
            keyClick(data.open, data.mods)
            verify(sawOpen)
            verify(!field.popupOpen)
            compare(field.text, data.text)
        }

        // A field destroyed while its popup runs (from a handler of the
        // popup's loop) ends the popup with it: no crash, nothing left open.
        function test_destroyedWhilePopupOpen() {
            const field = fieldComponent.createObject(root, {date: new Date(2026, 11, 8)})
            field.forceActiveFocus()
            let sawOpen = false
            player.act = function() {
                sawOpen = field.popupOpen
                field.destroy()
            }
            player.start()
            keyClick(Qt.Key_Down, Qt.AltModifier)
            verify(sawOpen)
            wait(0)
            verify(!root.Overlay.overlay.visible)
            elsewhere.forceActiveFocus()
            keyClick("1")
            compare(elsewhere.text, "1")
            elsewhere.text = ""
        }

        // WCAG's contrast of two colours, and the best contrast that any
        // pixel in rect of image has against the colour most of rect shows
        // (the ground the text lies on).
        function contrast(a, b) {
            const lin = v => v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4)
            const lum = c => 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b)
            const x = lum(a), y = lum(b)
            return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05)
        }
        function textContrast(image, rect) {
            const counts = {}
            let ground = null, most = 0, best = 1
            const pixels = []
            for (let y = Math.ceil(rect.y); y < Math.floor(rect.y + rect.height); ++y) {
                for (let x = Math.ceil(rect.x); x < Math.floor(rect.x + rect.width); ++x) {
                    const c = image.pixel(x, y)
                    pixels.push(c)
                    const k = c.toString()
                    counts[k] = (counts[k] || 0) + 1
                    if (counts[k] > most) {
                        most = counts[k]
                        ground = c
                    }
                }
            }
            for (const c of pixels)
                best = Math.max(best, contrast(c, ground))
            return best
        }

        // The style comes from the environment (ctest runs this once for
        // Basic, Fusion and Material); dark is Material's dark theme or, for
        // the others, a dark palette as an application sets one.
        function test_readable_data() {
            return [{tag: "light", dark: false}, {tag: "dark", dark: true}]
        }
        function test_readable(data) {
            const ground = createTemporaryObject(groundComponent, root)
            if (data.dark) {
                ground.Material.theme = Material.Dark
                ground.palette.window = "#2b2b2b"
                ground.palette.windowText = "#e8e8e8"
                ground.palette.base = "#1e1e1e"
                ground.palette.text = "#e8e8e8"
                ground.palette.button = "#3c3c3c"
                ground.palette.buttonText = "#e8e8e8"
                ground.palette.mid = "#5a5a5a"
                ground.palette.midlight = "#4a4a4a"
                ground.palette.highlight = "#3d7bd9"
            }
            const field = ground.field
            waitForRendering(ground)
            const a = field.textArea
            const inField = textContrast(grabImage(ground), field.mapToItem(ground, a.x, a.y, a.width, a.height))
            verify(inField >= 4.5, "field text contrast " + inField.toFixed(2))

            let inPopup = 0
            field.forceActiveFocus()
            player.act = function() {
                // Drawn in full once the style's opening transition is over.
                tryCompare(field.popupObject, "opened", true)
                // A day of the month other than the chosen one.
                const cells = parts(field, m => m.cell && !m.bordered && m.caption !== "")
                const content = field.popupObject.contentItem
                if (cells.length > 0)
                    inPopup = textContrast(grabImage(content), Qt.rect(cells[0].x, cells[0].y,
                                                                       cells[0].width, cells[0].height))
                field.popupObject.close()
            }
            player.start()
            keyClick(Qt.Key_F4)
            verify(inPopup >= 4.5, "calendar text contrast " + inPopup.toFixed(2))
        }

        function test_popupByMouse_data() {
            return [
                {tag: "a day, then OK", ok: true, text: "12/10/2026"},
                {tag: "a day, then Cancel", ok: false, text: "12/08/2026"},
            ]
        }
        function test_popupByMouse(data) {
            const field = make({date: new Date(2026, 11, 8)})
            const b = field.buttonArea
            verify(b.width > 0)
            player.act = function() {
                const days = parts(field, m => m.day !== undefined && m.day.getDate() === 10
                                              && m.day.getMonth() === 11)
                compare(days.length, 1)
                mouseClick(days[0])
                const buttons = parts(field, m => m.name === (data.ok ? "cmdOK" : "cmdCancel"))
                mouseClick(buttons[0])
                if (field.popupObject)
                    field.popupObject.close()
            }
            player.start()
            mouseClick(field, b.x + b.width / 2, b.y + b.height / 2)
            verify(!field.popupOpen)
            compare(field.text, data.text)
        }
    }
}
