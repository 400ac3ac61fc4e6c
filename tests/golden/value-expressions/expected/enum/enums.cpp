#include "enums.hpp"
#include "level.hpp"
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;
    if (metaType == qMetaTypeId<Level>()) {
        conv.variantToName = _EnumVariantToEnumName<Level>;
        conv.nameToVariant = _EnumNameToEnumVariant<Level>;
    } else
        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 1>&
{
    static const std::array<int, 1> ids = {
        qMetaTypeId<Level>()
    };
    return ids;
}