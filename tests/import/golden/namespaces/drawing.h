// Namespaces with Q_ENUM_NS and Q_FLAG_NS, flags declared by hand or not at all,
// aliases, an item moc never sees, a name two scopes use, Qt 4's Q_ENUMS.
#pragma once
#include <QObject>

namespace Drawing {
Q_NAMESPACE

enum Kind { Line, Curve, Text };
Q_ENUM_NS(Kind)

enum class Alignment : int {
    Left = 0x1,
    Right = 0x2,
    Start = Left, // an alias
    Center = Left | Right,
};
using Alignments = QFlags<Alignment>;
Q_FLAG_NS(Alignments)

enum Pen { NoPen, SolidPen
#ifndef Q_MOC_RUN
    , PenMask = 0x0f
#endif
};
Q_ENUM_NS(Pen)

enum Hint { NoHint, Fast = 0x1, Exact = 0x2 };
Q_FLAG_NS(Hint)
}

class Shape
{
    Q_GADGET
public:
    enum Kind { Rectangle, Ellipse };
    enum Fill { Solid, Hatched };
    Q_ENUMS(Kind Fill)
    Q_ENUM(Colour)
};
