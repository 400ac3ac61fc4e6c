#include "enums.hpp"
#include "color.hpp"
#include "flags.hpp"
#include "empty.hpp"
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;
    if (metaType == qMetaTypeId<Color>()) {
        conv.variantToName = _EnumVariantToEnumName<Color>;
        conv.nameToVariant = _EnumNameToEnumVariant<Color>;
    } else    if (metaType == qMetaTypeId<Flags>()) {
        conv.variantToName = _EnumVariantToEnumName<Flags>;
        conv.nameToVariant = _EnumNameToEnumVariant<Flags>;
    } else    if (metaType == qMetaTypeId<Empty>()) {
        conv.variantToName = _EnumVariantToEnumName<Empty>;
        conv.nameToVariant = _EnumNameToEnumVariant<Empty>;
    } else
        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 3>&
{
    static const std::array<int, 3> ids = {
        qMetaTypeId<Color>(),
        qMetaTypeId<Flags>(),
        qMetaTypeId<Empty>()
    };
    return ids;
}
