// __ENUM_NAME key=__ENUM_KEY desc=__ENUM_DESC default=__ENUM_DEFAULT data=__ENUM_DATA_TYPE
__ENUM_HEADER_CONTENTS
enum class __ENUM_NAME { // __ENUM_UPPERS __ENUM_LOWERS flag=__ENUM_IS_FLAG __ENUM_FLAGS_NAME
__ENUM_VALUES
}; // __ENUM_COUNT
QString desc(Enum e) {
    switch (e) {
__ENUM_FUNC_DESC_CASES
    }
}
const Item *item(Enum e) {__ENUM_FUNC_ITEM}
__ENUM_FOOTER_CONTENTS
// not filled: __ENUM_INFOS __ENUM_TOTAL_COUNT
