#include "flags.hpp"
static const std::array<Item, 3> info = {{
    {Flags::A, u"A"_q, u""_q, (int)1 << 0},
    {Flags::B, u"B"_q, u""_q, (int)1 << 1},
    {Flags::C, u"C"_q, u""_q, (int)1 << 2}
}};
// Flags not filled: __ENUM_KEY
