// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Controls
import Cards

ApplicationWindow {
    id: window

    // A suit's stored text to start with ("spades"); empty for the default.
    required property string startSuit
    // What the window shows, for `cards --print`.
    readonly property string summary: description.text + ", " + trumps.text + ": " + (trumps.checked ? "yes" : "no")

    width: 320
    height: 160
    visible: true
    title: qsTr("Cards")

    Table {
        id: table
        suit: suits.currentValue
        marks: trumps.checked ? Mark.Trumps : Mark.NoMark
    }

    Column {
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8

        ComboBox {
            id: suits
            width: parent.width
            model: SuitModel {
                id: suitModel
            }
            textRole: "display"
            valueRole: "value"
            Component.onCompleted: {
                const start = suitModel.fromText(window.startSuit)
                currentIndex = indexOfValue(start === undefined ? Suit.Hearts : start)
            }
        }

        Text {
            id: description
            // Red suits by name: the values compare with the C++ property.
            color: table.suit === Suit.Hearts || table.suit === Suit.Diamonds ? "darkred" : "black"
            text: suitModel.description(table.suit)
        }

        CheckBox {
            id: trumps
            text: markModel.description(Mark.Trumps)
            checked: window.startSuit === "spades"

            MarkModel {
                id: markModel
            }
        }
    }
}
