// SPDX-License-Identifier: MIT
// Each library's own use of its Mode, built once per library.
#include "mode.hpp"

#include <QVariant>

QString LIBRARY_FUNCTION()
{
    return QVariant::fromValue(LIBRARY_MODE).toString() + u' ' + QString::number(EnumInfo<decltype(LIBRARY_MODE)>::count);
}
