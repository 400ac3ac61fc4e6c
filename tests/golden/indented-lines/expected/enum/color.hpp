// Color: 2 items
#include <QString>
 !#include <QList>

enum class Color {
    Green = (int)0,
    Circle = (int)1
};

// ends in a carriage return
 $// behind spaces
