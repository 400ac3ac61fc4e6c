#include "color.hpp"
static const std::array<Item, 3> info = {{
    {Color::Red, u"Red"_q, u"red"_q, (int)0},
    {Color::Green, u"Green"_q, u"green"_q, (int)5},
    {Color::Blue, u"Blue"_q, u""_q, (int)6}
}};
// Color not filled: __ENUM_KEY
