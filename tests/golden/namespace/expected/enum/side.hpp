// The cases of a user's own template: every item but the aliases.
        case Enum::Left: return qApp->translate("EnumInfo", "");
        case Enum::Right: return qApp->translate("EnumInfo", "");
        default: return QString();
// The bundled templates' placeholders.
namespace app::settings {
enum class Side : int {
    Left = 0,
    Right = 1
};
} // namespace app::settings
struct EnumInfo<app::settings::Side> {
    static const Item *item(Enum value)
    {
        return 0 <= e && e < size() ? &info[static_cast<std::size_t>(e.value)] : nullptr;
    }
};
        case Enum::Left: return qApp->translate("Side", "");
        case Enum::Right: return qApp->translate("Side", "");
