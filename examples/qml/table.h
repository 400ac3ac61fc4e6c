// SPDX-License-Identifier: MIT
// The state of the card table, a C++ object that QML sets. Properties of
// enum types are written as moc and qmllint know them in QML: SuitEnum::Suit
// and MarkEnum::Marks are Suit and Marks.
#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>

#include "mark.hpp"
#include "suit.hpp"

class Table : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SuitEnum::Suit suit MEMBER m_suit NOTIFY changed)
    Q_PROPERTY(MarkEnum::Marks marks MEMBER m_marks NOTIFY changed)

public:
    Suit suit() const { return m_suit; }
    Marks marks() const { return m_marks; }

signals:
    void changed();

private:
    Suit m_suit = EnumInfo<Suit>::defaultValue;
    Marks m_marks;
};
