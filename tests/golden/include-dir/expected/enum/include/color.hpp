#pragma once
#include "enums.hpp"
enum class Color {     Red = (int)0,
    Green = (int)1 };
// Left out: nested conditions, spaces, a CRLF line end.
// Kept: a part with an #else, the part of another enum, a part without its #endif.
#ifdef ENUMGEN_SOURCE_Color
// this source
#elif defined(OTHER)
// other files
#endif
#ifdef ENUMGEN_SOURCE_Other
// another enum
#endif
#ifdef ENUMGEN_SOURCE_Color
#ifdef X
// open
#endif
