// __ENUM_NAME
former = {
__ENUM_FORMER_TEXTS
};
retired = {
__ENUM_RETIRED_TEXTS
};
aliases = {__ENUM_ALIASES};
// not filled: __ENUM_TR_CASES
