#include "enums.hpp"
#include "weight.hpp"
#include "side.hpp"
namespace app::settings {
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;
    if (metaType == qMetaTypeId<Weight>()) {
        conv.variantToName = _EnumVariantToEnumName<Weight>;
        conv.nameToVariant = _EnumNameToEnumVariant<Weight>;
    } else    if (metaType == qMetaTypeId<Side>()) {
        conv.variantToName = _EnumVariantToEnumName<Side>;
        conv.nameToVariant = _EnumNameToEnumVariant<Side>;
    } else
        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 2>&
{
    static const std::array<int, 2> ids = {
        qMetaTypeId<Weight>(),
        qMetaTypeId<Side>()
    };
    return ids;
}
} // namespace app::settings
