// SPDX-License-Identifier: MIT
// Two libraries of one program, each with a Mode in its own namespace, and a
// file that includes an enum of each list; generic code over these and Q_ENUM ones.
#include "any-enum-text.h"
#include "brush.hpp"
#include "paper.hpp"

#include <cstdio>

using namespace Qt::StringLiterals;

QString drawingMode();
QString printingMode();

int main()
{
    const QString texts = drawingMode() + u',' + printingMode() + u',' + enumText(app::drawing::Brush::Solid) + u',' +
                          enumText(app::printing::Paper::A4) + u',' + anyEnumText(app::drawing::Brush::Solid) + u',' +
                          anyEnumText(Qt::Monday);
    const bool read = anyEnumFromText<app::printing::Paper>(u"a4"_s) == app::printing::Paper::A4 &&
                      anyEnumFromText<Qt::DayOfWeek>(u"Sunday"_s) == Qt::Sunday;
    std::puts(qPrintable(texts));
    return texts == u"stroke 2,photo 3,solid,a4,solid,Monday" && read ? 0 : 1;
}
