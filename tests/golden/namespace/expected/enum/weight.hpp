// The cases of a user's own template: every item but the aliases.
        case Enum::Light: return qApp->translate("EnumInfo", "Light");
        case Enum::Normal: return qApp->translate("EnumInfo", "Normal");
        case Enum::Heavy: return qApp->translate("EnumInfo", "Heavy");
        case Enum::Top: return qApp->translate("EnumInfo", "Top");
        default: return QString();
// The bundled templates' placeholders.
namespace app::settings {
enum class Weight : int {
    Light = 300,
    Normal = 400,
    Regular = 400,
    Heavy = static_cast<int>(0LL + (0x80000000)),
    Top = static_cast<int>(0LL + (0xF0000000 >> 28))
};
} // namespace app::settings
struct EnumInfo<app::settings::Weight> {
    static const Item *item(Enum value)
    {
        auto it = std::find_if(info.cbegin(), info.cend(), [e](const Item &i) { return i.value == e; });
        return it != info.cend() ? &(*it) : nullptr;
    }
};
        case Enum::Light: return qApp->translate("Weight", "Light");
        case Enum::Normal: return qApp->translate("Weight", "Normal");
        case Enum::Heavy: return qApp->translate("Weight", "Heavy");
        case Enum::Top: return qApp->translate("Weight", "Top");
