// Option
former = {
    {Option::Antialias, u"Smooth"_q},
    {Option::Outline, u"border"_q},
    {Option::Outline, u"edge"_q}
};
retired = {
    u"shadow"_q,
    u"Shadow"_q,
    u"drop-shadow"_q
};
aliases = {};
// not filled: __ENUM_TR_CASES
