#include "enums.hpp"
#include "color.hpp"
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;
    if (metaType == qMetaTypeId<Color>()) {
        conv.variantToName = _EnumVariantToEnumName<Color>;
        conv.nameToVariant = _EnumNameToEnumVariant<Color>;
    } else
        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 1>&
{
    static const std::array<int, 1> ids = {
        qMetaTypeId<Color>()
    };
    return ids;
}
