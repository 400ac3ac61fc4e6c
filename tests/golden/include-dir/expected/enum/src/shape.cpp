#define ENUMGEN_SOURCE_Shape
#include "shape.hpp"
