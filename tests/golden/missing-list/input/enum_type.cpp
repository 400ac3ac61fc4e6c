#include "__ENUM_LOWERS.hpp"
static const std::array<Item, __ENUM_COUNT> info = {{
__ENUM_INFOS
}};
// __ENUM_NAME not filled: __ENUM_KEY
