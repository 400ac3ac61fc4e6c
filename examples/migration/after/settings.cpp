// SPDX-License-Identifier: MIT
#include "settings.h"

#include <QSettings>

// Settings are stored as keys ("Dark", "Antialias|Shadow"). The keys are the
// names the build with Q_ENUM stored, and its shape's number reads as the
// item of that value.
void AppSettings::load(const QSettings& ini) {
    theme = enumFromText<Theme>(ini.value("theme").toString()).value_or(theme);
    shape = enumFromText<Kind>(ini.value("shape").toString()).value_or(shape);
    // An empty text is no option: a missing setting keeps the default.
    options = flagsFromText<Option>(ini.value("options", flagsText(options)).toString()).value_or(options);
}

void AppSettings::save(QSettings& ini) const {
    ini.setValue("theme", enumText(theme));
    ini.setValue("shape", enumText(shape));
    ini.setValue("options", flagsText(options));
}
