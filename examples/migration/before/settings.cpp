// SPDX-License-Identifier: MIT
#include "settings.h"

#include <QMetaEnum>
#include <QSettings>

QString AppSettings::themeText(Theme theme) {
    switch (theme) {
        case Light:
            return tr("Light background");
        case Dark:
            return tr("Dark background");
        case System:
            return tr("As the system's");
    }
    return QString();
}

// The theme and the options are stored by name ("Dark", "Antialias|Shadow"),
// the shape as its number.
void AppSettings::load(const QSettings& ini) {
    bool ok = false;
    const int value = QMetaEnum::fromType<Theme>().keyToValue(ini.value("theme").toByteArray(), &ok);
    if (ok)
        theme = Theme(value);
    shape = Shape::Kind(ini.value("shape", int(shape)).toInt());
    const int bits = QMetaEnum::fromType<Draw::Options>().keysToValue(ini.value("options").toByteArray(), &ok);
    if (ok)
        options = Draw::Options::fromInt(bits);
}

void AppSettings::save(QSettings& ini) const {
    ini.setValue("theme", QMetaEnum::fromType<Theme>().valueToKey(theme));
    ini.setValue("shape", int(shape));
    ini.setValue("options", QMetaEnum::fromType<Draw::Options>().valueToKeys(options.toInt()));
}
