// Empty key= desc= default= data=QVariant

enum class Empty { // EMPTY empty flag=0 

}; // 0
QString desc(Enum e) {
    switch (e) {
        default: return QString();
    }
}
const Item *item(Enum e) {return 0 <= e && e < size() ? &info[(int)e] : nullptr;}

// not filled: __ENUM_INFOS __ENUM_TOTAL_COUNT
