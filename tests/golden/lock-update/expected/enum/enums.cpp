#include "enums.hpp"
#include "theme.hpp"
#include "shape.hpp"
#include "options.hpp"
#include "level.hpp"
#include "extent.hpp"
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;
    if (metaType == qMetaTypeId<Theme>()) {
        conv.variantToName = _EnumVariantToEnumName<Theme>;
        conv.nameToVariant = _EnumNameToEnumVariant<Theme>;
    } else    if (metaType == qMetaTypeId<Shape>()) {
        conv.variantToName = _EnumVariantToEnumName<Shape>;
        conv.nameToVariant = _EnumNameToEnumVariant<Shape>;
    } else    if (metaType == qMetaTypeId<Options>()) {
        conv.variantToName = _EnumVariantToEnumName<Options>;
        conv.nameToVariant = _EnumNameToEnumVariant<Options>;
    } else    if (metaType == qMetaTypeId<Level>()) {
        conv.variantToName = _EnumVariantToEnumName<Level>;
        conv.nameToVariant = _EnumNameToEnumVariant<Level>;
    } else    if (metaType == qMetaTypeId<Extent>()) {
        conv.variantToName = _EnumVariantToEnumName<Extent>;
        conv.nameToVariant = _EnumNameToEnumVariant<Extent>;
    } else
        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 5>&
{
    static const std::array<int, 5> ids = {
        qMetaTypeId<Theme>(),
        qMetaTypeId<Shape>(),
        qMetaTypeId<Options>(),
        qMetaTypeId<Level>(),
        qMetaTypeId<Extent>()
    };
    return ids;
}
