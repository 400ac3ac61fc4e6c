// SPDX-License-Identifier: MIT
// The settings of sketch, and the enums they hold, registered with moc.
#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>

QT_FORWARD_DECLARE_CLASS(QSettings)

class Shape {
    Q_GADGET
public:
    /// Kind of shape
    enum class Kind {
        Circle,    ///< Circle
        Square,    ///< Square
        Triangle,  ///< Triangle
    };
    Q_ENUM(Kind)
};

namespace Draw {
Q_NAMESPACE
/// Drawing options
enum Option {
    NoOption = 0x0,   ///< No option
    Antialias = 0x1,  ///< Smooth edges
    Shadow = 0x2,     ///< Drop shadow
    Outline = 0x4,    ///< Draw the outline
};
Q_DECLARE_FLAGS(Options, Option)
Q_FLAG_NS(Options)
}  // namespace Draw
Q_DECLARE_OPERATORS_FOR_FLAGS(Draw::Options)

class AppSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The application has one")
    Q_PROPERTY(Theme theme MEMBER theme NOTIFY changed)

public:
    /// Colour scheme of the windows
    enum Theme {
        Light,   ///< Light background
        Dark,    ///< Dark background
        System,  ///< As the system's
    };
    Q_ENUM(Theme)

    // The text of a theme in the theme combo box, translated.
    static QString themeText(Theme theme);

    void load(const QSettings& ini);
    void save(QSettings& ini) const;

    Theme theme = Light;
    Shape::Kind shape = Shape::Kind::Circle;
    Draw::Options options = Draw::Antialias;

signals:
    void changed();
};
