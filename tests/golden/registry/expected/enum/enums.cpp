#include "enums.hpp"
#include "color.hpp"
#include "shape.hpp"
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;
    if (metaType == qMetaTypeId<Color>()) {
        conv.variantToName = _EnumVariantToEnumName<Color>;
        conv.nameToVariant = _EnumNameToEnumVariant<Color>;
    } else    if (metaType == qMetaTypeId<Shape>()) {
        conv.variantToName = _EnumVariantToEnumName<Shape>;
        conv.nameToVariant = _EnumNameToEnumVariant<Shape>;
    } else
        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 2>&
{
    static const std::array<int, 2> ids = {
        qMetaTypeId<Color>(),
        qMetaTypeId<Shape>()
    };
    return ids;
}
