#include "enums.hpp"
#include "theme.hpp"
#include "option.hpp"
#include "plain.hpp"
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;
    if (metaType == qMetaTypeId<Theme>()) {
        conv.variantToName = _EnumVariantToEnumName<Theme>;
        conv.nameToVariant = _EnumNameToEnumVariant<Theme>;
    } else    if (metaType == qMetaTypeId<Option>()) {
        conv.variantToName = _EnumVariantToEnumName<Option>;
        conv.nameToVariant = _EnumNameToEnumVariant<Option>;
    } else    if (metaType == qMetaTypeId<Plain>()) {
        conv.variantToName = _EnumVariantToEnumName<Plain>;
        conv.nameToVariant = _EnumNameToEnumVariant<Plain>;
    } else
        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 3>&
{
    static const std::array<int, 3> ids = {
        qMetaTypeId<Theme>(),
        qMetaTypeId<Option>(),
        qMetaTypeId<Plain>()
    };
    return ids;
}
