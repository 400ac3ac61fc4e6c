// SPDX-License-Identifier: MIT
// A C++ object with properties and an invokable of enum types, for QML.
#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>

#include "color.hpp"
#include "option.hpp"

class Target : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Color color MEMBER color NOTIFY changed)
    Q_PROPERTY(Options options MEMBER options NOTIFY changed)
#ifdef ENUMGEN_QML
    // The same, spelled as qmllint knows them.
    Q_PROPERTY(ColorEnum::Color fullColor MEMBER color NOTIFY changed)
    Q_PROPERTY(OptionEnum::Options fullOptions MEMBER options NOTIFY changed)
#endif

public:
    Color color = Color::Red;
    Options options;
    Q_INVOKABLE Color next(Color value) const { return Color((int(value) + 1) % 3); }

signals:
    void changed();
};
