#define ENUMGEN_SOURCE___ENUM_NAME
#include "__ENUM_LOWERS.hpp"
