#include "enums.hpp"
#include "color.hpp"
#include "mode.hpp"
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;
    if (metaType == qMetaTypeId<Color>()) {
        conv.variantToName = _EnumVariantToEnumName<Color>;
        conv.nameToVariant = _EnumNameToEnumVariant<Color>;
    } else    if (metaType == qMetaTypeId<Mode>()) {
        conv.variantToName = _EnumVariantToEnumName<Mode>;
        conv.nameToVariant = _EnumNameToEnumVariant<Mode>;
    } else
        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 2>&
{
    static const std::array<int, 2> ids = {
        qMetaTypeId<Color>(),
        qMetaTypeId<Mode>()
    };
    return ids;
}
