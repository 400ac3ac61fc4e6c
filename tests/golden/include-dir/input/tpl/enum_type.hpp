#pragma once
#include "enums.hpp"
enum class __ENUM_NAME { __ENUM_VALUES };
// Left out: nested conditions, spaces, a CRLF line end.
#ifdef ENUMGEN_SOURCE___ENUM_NAME
#if __ENUM_IS_FLAG
// flags
#else
// no flags
#endif
const char *description(__ENUM_NAME value) { switch (value) {
__ENUM_FUNC_DESC_CASES
} }
#endif
  #  ifdef 	ENUMGEN_SOURCE___ENUM_NAME  
// key: __ENUM_KEY
# endif // ENUMGEN_SOURCE___ENUM_NAME
// Kept: a part with an #else, the part of another enum, a part without its #endif.
#ifdef ENUMGEN_SOURCE___ENUM_NAME
// this source
#elif defined(OTHER)
// other files
#endif
#ifdef ENUMGEN_SOURCE_Other
// another enum
#endif
#ifdef ENUMGEN_SOURCE___ENUM_NAME
#ifdef X
// open
#endif
