#include "enums.hpp"
#include "theme.hpp"
#include "shape.hpp"
#include "options.hpp"
#include "corner.hpp"
#include "level.hpp"
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
    } else    if (metaType == qMetaTypeId<Corner>()) {
        conv.variantToName = _EnumVariantToEnumName<Corner>;
        conv.nameToVariant = _EnumNameToEnumVariant<Corner>;
    } else    if (metaType == qMetaTypeId<Level>()) {
        conv.variantToName = _EnumVariantToEnumName<Level>;
        conv.nameToVariant = _EnumNameToEnumVariant<Level>;
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
        qMetaTypeId<Corner>(),
        qMetaTypeId<Level>()
    };
    return ids;
}
