// Flags key= desc= default=A data=quint8

enum class Flags { // FLAGS flags flag=1 Flag
    A = (int)1 << 0,
    B = (int)1 << 1,
    C = (int)1 << 2
}; // 3
QString desc(Enum e) {
    switch (e) {
        case Enum::A: return qApp->translate("EnumInfo", "");
        case Enum::B: return qApp->translate("EnumInfo", "");
        case Enum::C: return qApp->translate("EnumInfo", "");
        default: return QString();
    }
}
const Item *item(Enum e) {
    auto it = std::find_if(info.cbegin(), info.cend(),
                            [e] (const Item &info)
                            { return info.value == e; });
    return it != info.cend() ? &(*it) : nullptr;
}

// not filled: __ENUM_INFOS __ENUM_TOTAL_COUNT
