namespace app::settings {
    {Side::Left, u"Left"_q, u""_q, static_cast<int>(Side::Left)},
    {Side::Right, u"Right"_q, u""_q, static_cast<int>(Side::Right)}
} // namespace app::settings
