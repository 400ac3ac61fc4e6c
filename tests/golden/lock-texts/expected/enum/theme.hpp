// Theme
QString description(Enum value) {
    switch (value) {
        case Enum::Light: return qApp->translate("Theme", "Light");
        case Enum::Dark: return qApp->translate("Theme", "Dark");
        case Enum::Global: return qApp->translate("Theme", "A constant outside");
        case Enum::Contrast: return qApp->translate("Theme", "High contrast");
        default: return QString();
    }
}
// not filled: __ENUM_FORMER_TEXTS __ENUM_RETIRED_TEXTS __ENUM_ALIASES
