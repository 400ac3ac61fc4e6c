// SPDX-License-Identifier: MIT
// sketch INI [THEME SHAPE OPTIONS]: loads its settings from the INI file, takes
// those given by name (Dark Triangle 'Antialias|Shadow'), prints them and what
// the window makes of them, and saves them.
#include <QCoreApplication>
#include <QMetaEnum>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSettings>
#include <QTextStream>

#include "settings.h"

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1 && args.size() != 4) {
        QTextStream(stderr) << "usage: sketch INI [THEME SHAPE OPTIONS]\n";
        return 2;
    }
    QSettings ini(args[0], QSettings::IniFormat);
    AppSettings settings;
    settings.load(ini);
    if (args.size() == 4) {
        bool theme = false, shape = false, options = false;
        settings.theme =
            AppSettings::Theme(QMetaEnum::fromType<AppSettings::Theme>().keyToValue(args[1].toLatin1(), &theme));
        settings.shape = Shape::Kind(QMetaEnum::fromType<Shape::Kind>().keyToValue(args[2].toLatin1(), &shape));
        settings.options =
            Draw::Options::fromInt(QMetaEnum::fromType<Draw::Options>().keysToValue(args[3].toLatin1(), &options));
        if (!theme || !shape || !options) {
            QTextStream(stderr) << "sketch: unknown theme, shape or option in: " << args.mid(1).join(u' ') << "\n";
            return 1;
        }
    }

    QQmlEngine engine;
    QQmlComponent component(&engine, u"qrc:/Sketch/MainWindow.qml"_s);
    const std::unique_ptr<QObject> window(
        component.createWithInitialProperties({{u"settings"_s, QVariant::fromValue(&settings)}}));
    if (!window) {
        QTextStream(stderr) << component.errorString();
        return 1;
    }
    QTextStream(stdout) << "theme: " << QMetaEnum::fromType<AppSettings::Theme>().valueToKey(settings.theme) << " ("
                        << AppSettings::themeText(settings.theme) << ")\n"
                        << "shape: " << QMetaEnum::fromType<Shape::Kind>().valueToKey(int(settings.shape)) << "\n"
                        << "options: " << QMetaEnum::fromType<Draw::Options>().valueToKeys(settings.options.toInt())
                        << "\n"
                        << "background: " << window->property("background").toString() << "\n";
    settings.save(ini);
    return 0;
}
