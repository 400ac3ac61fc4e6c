#define ENUMGEN_SOURCE_Color
#include "color.hpp"
