// The cases of a user's own template: every item but the aliases.
__ENUM_FUNC_DESC_CASES
// The bundled templates' placeholders.
__ENUM_OPEN_NAMESPACE
enum class __ENUM_NAME : int {
__ENUM_ENUMERATORS
};
__ENUM_CLOSE_NAMESPACE
struct EnumInfo<__ENUM_FULL_NAME> {
    static const Item *item(Enum value)
    {
        __ENUM_LOOKUP
    }
};
__ENUM_TR_ITEM_CASES
