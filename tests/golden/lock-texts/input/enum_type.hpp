// __ENUM_NAME
QString description(Enum value) {
    switch (value) {
__ENUM_TR_CASES
    }
}
// not filled: __ENUM_FORMER_TEXTS __ENUM_RETIRED_TEXTS __ENUM_ALIASES
