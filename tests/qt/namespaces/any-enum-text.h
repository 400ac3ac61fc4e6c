// The stored text of any enum, enumgen's or one with Q_ENUM, for generic code.
#pragma once

#include "enums.hpp"

#include <QMetaEnum>

template <class T>
QString anyEnumText(T value)
{
    if constexpr (enumgen::isEnum<T>)
        return enumText(value);
    else
        return QString::fromLatin1(QMetaEnum::fromType<T>().valueToKey(static_cast<int>(value)));
}

template <class T>
std::optional<T> anyEnumFromText(const QString &text)
{
    if constexpr (enumgen::isEnum<T>) {
        return enumFromText<T>(text);
    } else {
        bool found = false;
        const int value = QMetaEnum::fromType<T>().keyToValue(text.toLatin1().constData(), &found);
        return found ? std::optional<T>(static_cast<T>(value)) : std::nullopt;
    }
}
