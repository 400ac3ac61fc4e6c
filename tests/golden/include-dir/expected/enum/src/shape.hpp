#pragma once
#include "enums.hpp"
enum class Shape {     Round = (int)0 };
// Left out: nested conditions, spaces, a CRLF line end.
#ifdef ENUMGEN_SOURCE_Shape
#if 1
// flags
#else
// no flags
#endif
const char *description(Shape value) { switch (value) {
        case Enum::Round: return qApp->translate("EnumInfo", "");
        default: return QString();
} }
#endif
  #  ifdef 	ENUMGEN_SOURCE_Shape  
// key: 
# endif // ENUMGEN_SOURCE_Shape
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
