#include "empty.hpp"
static const std::array<Item, 0> info = {{

}};
// Empty not filled: __ENUM_KEY
