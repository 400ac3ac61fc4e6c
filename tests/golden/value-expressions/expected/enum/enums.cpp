#include "enums.hpp"
#include "level.hpp"
#include "counted.hpp"
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;
    if (metaType == qMetaTypeId<Level>()) {
        conv.variantToName = _EnumVariantToEnumName<Level>;
        conv.nameToVariant = _EnumNameToEnumVariant<Level>;
    } else    if (metaType == qMetaTypeId<Counted>()) {
        conv.variantToName = _EnumVariantToEnumName<Counted>;
        conv.nameToVariant = _EnumNameToEnumVariant<Counted>;
    } else
        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 2>&
{
    static const std::array<int, 2> ids = {
        qMetaTypeId<Level>(),
        qMetaTypeId<Counted>()
    };
    return ids;
}
