include("${ENUMGEN_MODULE}")
enumgen_generate(drawing PUBLC ENUM_LIST drawing.enums)
