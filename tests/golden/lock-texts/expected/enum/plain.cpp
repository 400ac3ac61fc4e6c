// Plain
former = {

};
retired = {

};
aliases = {};
// not filled: __ENUM_TR_CASES
