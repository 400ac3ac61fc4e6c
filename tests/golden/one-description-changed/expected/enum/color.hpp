// Color key=color desc=Colour default=Green data=QVariant
#include <QString>
// color and __ENUM_NAME

enum class Color { // COLOR color flag=0 
    Red = (int)0,
    Green = (int)5,
    Blue = (int)6
}; // 3
QString desc(Enum e) {
    switch (e) {
        case Enum::Red: return qApp->translate("EnumInfo", "Red colour");
        case Enum::Green: return qApp->translate("EnumInfo", "Green colour");
        case Enum::Blue: return qApp->translate("EnumInfo", "");
        default: return QString();
    }
}
const Item *item(Enum e) {
    auto it = std::find_if(info.cbegin(), info.cend(),
                            [e] (const Item &info)
                            { return info.value == e; });
    return it != info.cend() ? &(*it) : nullptr;
}

}
 x

// not filled: __ENUM_INFOS __ENUM_TOTAL_COUNT
