// SPDX-License-Identifier: MIT
// cards [--print] [SUIT]: a QML window with the suits of the enum list in a
// combo box, their translated descriptions and a C++ object bound to the
// choice. SUIT is a suit's stored text ("spades"); --print prints what the
// window shows and what the C++ object holds, and quits.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTextStream>

#include "table.h"

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool print = args.removeAll(u"--print"_s) > 0;

    QQmlApplicationEngine engine;
    engine.setInitialProperties({{u"startSuit"_s, args.value(0)}});
    engine.load(QUrl(u"qrc:/Cards/Main.qml"_s));
    if (engine.rootObjects().isEmpty())
        return 1;
    if (print) {
        const QObject* window = engine.rootObjects().constFirst();
        const Table* table = window->findChild<Table*>();
        QTextStream(stdout) << window->property("summary").toString() << "; table: " << enumText(table->suit()) << ", "
                            << flagsText(table->marks()) << "\n";
        return 0;
    }
    return app.exec();
}
