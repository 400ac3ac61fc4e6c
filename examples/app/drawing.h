// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include "color.hpp"
#include "option.hpp"
#include "shape.hpp"

// What the program draws, kept in a QObject as an application would: moc reads
// this header and the generated ones it includes.
class Drawing : public QObject {
    Q_OBJECT

public:
    Shape shape = Shape::Circle;
    Color color = EnumInfo<Color>::defaultValue;
    Options options;

    // "Square (4 corners) in Blue #0000ff; Smooth edges, Drop shadow"
    Q_INVOKABLE QString text() const;
};
