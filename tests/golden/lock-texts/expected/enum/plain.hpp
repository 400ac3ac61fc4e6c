// Plain
QString description(Enum value) {
    switch (value) {
        case Enum::First: return qApp->translate("Plain", "");
        case Enum::Second: return qApp->translate("Plain", "");
        default: return QString();
    }
}
// not filled: __ENUM_FORMER_TEXTS __ENUM_RETIRED_TEXTS __ENUM_ALIASES
