#include "enums.hpp"
auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter
{
    EnumNameVariantConverter conv;

        return EnumNameVariantConverter();
    return conv;
}
auto _EnumMetaTypeIds() -> const std::array<int, 0>&
{
    static const std::array<int, 0> ids = {

    };
    return ids;
}
