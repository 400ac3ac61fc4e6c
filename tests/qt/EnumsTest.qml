// SPDX-License-Identifier: MIT
// The enums in QML: values by name, C++ properties and invokables of enum
// types, and the model types. failures() lists every check that fails; the
// bindings are there for qmllint.
import QtQml
import QtQml.Models
import EnumTests

QtObject {
    id: root
    required property Target target
    property ColorModel colors: ColorModel {}
    property OptionModel options: OptionModel {}
    property WeightModel weights: WeightModel {}
    property Target linted: Target {
        fullColor: Color.Blue
        fullOptions: Option.Antialias | Option.Outline
    }
    property bool lintedBlue: linted.fullColor === Color.Blue
    property bool lintedOutline: (linted.fullOptions & Option.Outline) !== 0
    property string blueText: colors.description(Color.Blue) + " " + colors.text(Color.Blue)
    property int rowCount: colors.rowCount()
    property Instantiator rows: Instantiator {
        model: root.colors
        delegate: QtObject {
            required property int value
            required property string display
            required property string key
            required property string name
        }
    }

    property string failed
    function check(what: string, actual: var, expected: var) {
        if (actual !== expected)
            failed += what + ": " + actual + " instead of " + expected + "\n"
    }

    function failures(): string {
        check("counted", Color.Blue, 2)
        check("negative", Priority.Low, -10)
        check("counted after explicit", Priority.Urgent, 51)
        check("shifted", Option.Outline, 4)
        check("combined", Option.Antialias | Option.Outline, 5)
        check("named like the enum", Item.Item, 1)
        check("alias", [Weight.Regular === Weight.Normal, weights.rowCount(), weights.text(Weight.Regular)].join(),
              "true,3,normal")
        check("full spelling", lintedBlue && lintedOutline, true)
        check("model functions", blueText + " " + rowCount, "Blue blue 3")

        check("property", target.color, Color.Red)
        target.color = Color.Blue
        check("assigned", target.color, Color.Blue)
        target.fullColor = "Red"
        check("full spelling assigned by name", target.color, Color.Red)
        target.color = "green"
        check("assigned as text", target.color, Color.Green)
        check("invokable", target.next(Color.Green), Color.Blue)
        target.options = Option.Antialias | Option.Outline
        check("flags", target.options & Option.Outline, Option.Outline)
        check("flags unset", target.options & Option.Shadow, 0)

        let row = rows.objectAt(2)
        check("roles", [row.value === Color.Blue, row.display, row.key, row.name].join(), "true,Blue,blue,Blue")
        check("description", colors.description(Color.Green), "Green")
        check("text", colors.text(Color.Green), "green")
        check("fromText", colors.fromText("green"), Color.Green)
        check("fromText by name", colors.fromText("Green"), Color.Green)
        check("fromText unknown", colors.fromText("teal"), undefined)
        check("flags text", options.text(Option.Antialias | Option.Shadow), "antialias|shadow")
        check("flags fromText", options.fromText("shadow|outline"), Option.Shadow | Option.Outline)
        return failed
    }
}
