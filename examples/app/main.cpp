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

#include "color.hpp"
#include "enums.hpp"
#include "options-text.h"
#include "shape.hpp"

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
    // which QVariant converts back to the enums.
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "enumgen-example", "drawing");
    Shape s = settings.value("shape", QVariant::fromValue(Shape::Circle)).value<Shape>();
    Color c = settings.value("color", QVariant::fromValue(EnumInfo<Color>::defaultValue)).value<Color>();
    Options options = settings.value("options").value<Options>();
    if (!args.isEmpty()) {
        const std::optional<Shape> shape = enumFromText<Shape>(args.value(0));
        const std::optional<Color> color = enumFromText<Color>(args.value(1));
        const std::optional<Options> newOptions = flagsFromText<Option>(args.value(2));
        if (!shape || !color || !newOptions) {
            QTextStream(stderr) << "drawing: unknown shape, colour or option in: " << args.join(u' ') << "\n";
            return 1;
        }
        s = *shape;
        c = *color;
        options = *newOptions;
        settings.setValue("shape", enumText(s));
        settings.setValue("color", enumText(c));
        settings.setValue("options", flagsText(options));
    }

    out << EnumInfo<Shape>::description(s) << " (" << EnumInfo<Shape>::item(s)->data << " corners) in "
        << EnumInfo<Color>::description(c) << " " << EnumInfo<Color>::item(c)->data.toString() << "; "
        << optionsText(options) << "\n";
    return 0;
}
