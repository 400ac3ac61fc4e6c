// SPDX-License-Identifier: MIT
// sketch INI [THEME SHAPE OPTIONS]: loads its settings from the INI file, takes
// those given by key (Dark Triangle 'Antialias|Shadow'), prints them and what
// the window makes of them, and saves them.
#include <QCoreApplication>
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
        const std::optional<Theme> theme = enumFromText<Theme>(args[1]);
        const std::optional<Kind> shape = enumFromText<Kind>(args[2]);
        const std::optional<Options> options = flagsFromText<Option>(args[3]);
        if (!theme || !shape || !options) {
            QTextStream(stderr) << "sketch: unknown theme, shape or option in: " << args.mid(1).join(u' ') << "\n";
            return 1;
        }
        settings.theme = *theme;
        settings.shape = *shape;
        settings.options = *options;
    }

    QQmlEngine engine;
    QQmlComponent component(&engine, u"qrc:/Sketch/MainWindow.qml"_s);
    const std::unique_ptr<QObject> window(
        component.createWithInitialProperties({{u"settings"_s, QVariant::fromValue(&settings)}}));
    if (!window) {
        QTextStream(stderr) << component.errorString();
        return 1;
    }
    QTextStream(stdout) << "theme: " << enumText(settings.theme) << " (" << EnumInfo<Theme>::description(settings.theme)
                        << ")\n"
                        << "shape: " << enumText(settings.shape) << "\n"
                        << "options: " << flagsText(settings.options) << "\n"
                        << "background: " << window->property("background").toString() << "\n";
    settings.save(ini);
    return 0;
}
