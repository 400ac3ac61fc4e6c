// drawing SHAPE COLOUR [OPTION,...]: says what it would draw. Shapes, colours
// and options are given by their keys; `drawing --list` lists them.
#include <QCoreApplication>
#include <QTextStream>

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
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    if (args.value(0) == u"--list") {
        out << _EnumMetaTypeIds().size() << " enums\n";
        listItems<Shape>(out);
        listItems<Color>(out);
        listItems<Option>(out);
        return 0;
    }

    const Shape shape = EnumInfo<Shape>::fromKey(args.value(0));
    const Color color = EnumInfo<Color>::fromKey(args.value(1));
    Options options;
    for (const QString& key : args.value(2).split(u',', Qt::SkipEmptyParts))
        options |= EnumInfo<Option>::fromKey(key, Option::NoOption);

    out << EnumInfo<Shape>::description(shape) << " (" << EnumInfo<Shape>::item(shape)->data << " corners) in "
        << EnumInfo<Color>::description(color) << " " << EnumInfo<Color>::item(color)->data.toString() << "; "
        << optionsText(options) << "\n";
    return 0;
}
