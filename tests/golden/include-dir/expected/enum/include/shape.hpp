#pragma once
#include "enums.hpp"
enum class Shape {     Round = (int)0 };
// Left out: nested conditions, spaces, a CRLF line end.
// Kept: a part with an #else, the part of another enum, a part without its #endif.
#ifdef ENUMGEN_SOURCE_Shape
// this source
#elif defined(OTHER)
// other files
#endif
#ifdef ENUMGEN_SOURCE_Other
// another enum
#endif
#ifdef ENUMGEN_SOURCE_Shape
#ifdef X
// open
#endif
