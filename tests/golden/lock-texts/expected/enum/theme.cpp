// Theme
former = {
    {Theme::Dark, u"dark"_q}
};
retired = {

};
aliases = {2, 3, 5, 7};
// not filled: __ENUM_TR_CASES
