// SPDX-License-Identifier: MIT
// drawing [SHAPE COLOUR [OPTIONS]]: says what it would draw and remembers it
// in its settings; with no arguments it draws the last one again. Shapes,
// colours and options are given by their keys, options joined by '|'
// ("antialias|shadow"); `drawing --list` lists them.
#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QTextStream>
#include <QTranslator>

#include "drawing.h"
#include "enums.hpp"
#include "options-text.h"

namespace {

template <class T>
void listItems(QTextStream& out) {
    out << QMetaType::fromType<T>().name() << " (" << EnumInfo<T>::typeDescription() << "):";
    for (const auto& item : EnumInfo<T>::info)
        out << " " << item.key;
    out << "\n";
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // The descriptions in the user's language, where the program has it.
    QTranslator translator;
    if (translator.load(QLocale(), "drawing", "_", ":/i18n"))
        app.installTranslator(&translator);
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    if (args.value(0) == u"--list") {
        out << _EnumMetaTypeIds().size() << " enums\n";
        listItems<Shape>(out);
        listItems<Color>(out);
        listItems<Option>(out);
        return 0;
    }

    // The settings hold keys as text ("color=blue", "options=antialias|shadow"),
    // read back with a fallback for a text that names no item.
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "enumgen-example", "drawing");
    Drawing drawing;
    drawing.shape = enumFromText<Shape>(settings.value("shape").toString()).value_or(drawing.shape);
    drawing.color = enumFromText<Color>(settings.value("color").toString()).value_or(drawing.color);
    drawing.options = flagsFromText<Option>(settings.value("options").toString()).value_or(Options());
    if (!args.isEmpty()) {
        const std::optional<Shape> shape = enumFromText<Shape>(args.value(0));
        const std::optional<Color> color = enumFromText<Color>(args.value(1));
        const std::optional<Options> options = flagsFromText<Option>(args.value(2));
        if (!shape || !color || !options) {
            QTextStream(stderr) << "drawing: unknown shape, colour or option in: " << args.join(u' ') << "\n";
            return 1;
        }
        drawing.shape = *shape;
        drawing.color = *color;
        drawing.options = *options;
        settings.setValue("shape", enumText(drawing.shape));
        settings.setValue("color", enumText(drawing.color));
        settings.setValue("options", flagsText(drawing.options));
    }
    out << drawing.text() << "\n";
    return 0;
}

QString Drawing::text() const {
    return EnumInfo<Shape>::description(shape) + " (" + QString::number(EnumInfo<Shape>::item(shape)->data) +
           " corners) in " + EnumInfo<Color>::description(color) + " " + EnumInfo<Color>::item(color)->data.toString() +
           "; " + optionsText(options);
}
