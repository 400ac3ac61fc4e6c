// SPDX-License-Identifier: MIT
// Two libraries of one program, each with a Mode in its own namespace, and a
// file that includes an enum of each list.
#include "brush.hpp"
#include "paper.hpp"

#include <cstdio>

QString drawingMode();
QString printingMode();

int main()
{
    const QString texts = drawingMode() + u',' + printingMode() + u',' + enumText(app::drawing::Brush::Solid) + u',' +
                          enumText(app::printing::Paper::A4);
    std::puts(qPrintable(texts));
    return texts == u"stroke 2,photo 3,solid,a4" ? 0 : 1;
}
