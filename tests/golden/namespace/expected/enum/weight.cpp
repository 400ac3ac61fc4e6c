namespace app::settings {
    {Weight::Light, u"Light"_q, u"light"_q, static_cast<int>(Weight::Light)},
    {Weight::Normal, u"Normal"_q, u"normal"_q, static_cast<int>(Weight::Normal)},
    {Weight::Regular, u"Regular"_q, u"regular"_q, static_cast<int>(Weight::Regular)},
    {Weight::Heavy, u"Heavy"_q, u"heavy"_q, 7},
    {Weight::Top, u"Top"_q, u"top"_q, static_cast<int>(Weight::Top)}
} // namespace app::settings
