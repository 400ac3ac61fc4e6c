// SPDX-License-Identifier: MIT
#include "options-text.h"

#include <QStringList>

QString optionsText(Options options) {
    QStringList texts;
    for (const auto& item : EnumInfo<Option>::info)
        if (item.value != Option::NoOption && options.testFlag(item.value))
            texts << EnumInfo<Option>::description(item.value);
    return texts.isEmpty() ? EnumInfo<Option>::description(Option::NoOption) : texts.join(u", ");
}
