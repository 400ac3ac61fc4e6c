#include <QCoreApplication>
#include <QDebug>

#include "color.hpp"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Every item with its key and translated description.
    for (const auto &item : EnumInfo<Color>::info)
        qInfo().noquote() << item.key << EnumInfo<Color>::description(item.value);

    // A stored text back to a value; an unknown text gives the default, Green.
    const Color color = EnumInfo<Color>::fromKey(QString::fromLocal8Bit(argc > 1 ? argv[1] : "blue"));
    qInfo() << color << enumText(color);
    return 0;
}
