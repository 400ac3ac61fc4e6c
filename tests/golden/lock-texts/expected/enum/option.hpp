// Option
QString description(Enum value) {
    switch (value) {
        case Enum::NoOption: return qApp->translate("Option", "No option");
        case Enum::Antialias: return qApp->translate("Option", "Smooth edges");
        case Enum::Outline: return qApp->translate("Option", "Outline");
        default: return QString();
    }
}
// not filled: __ENUM_FORMER_TEXTS __ENUM_RETIRED_TEXTS __ENUM_ALIASES
