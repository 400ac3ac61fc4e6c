// Q_OBJECT and Q_GADGET classes as Qt applications write them.
#pragma once
#include <QObject>

#define ACCENT_BASE 40

class AppSettings : public QObject
{
    Q_OBJECT
    QML_ELEMENT

public:
    /// The colour scheme of every window.
    enum class Theme {
        Light,              ///< Light background
        Dark = 5,           //!< Dark background
        /** Follows the system's setting */
        System,
        Accent = ACCENT_BASE + 2,
        HighContrast = Accent * 2 - 1,
    };
    Q_ENUM(Theme)

    enum DrawOption : unsigned {
        NoOption = 0x0,
        Antialias = 1 << 0, ///< Smooth edges
        Shadow = 1 << 1,
        Outline = 0x80000000u,
        Everything = Antialias | Shadow | Outline,
    };
    Q_DECLARE_FLAGS(DrawOptions, DrawOption)
    Q_FLAG(DrawOptions)

    // Not registered, so not imported.
    enum Internal { First, Second };

    explicit AppSettings(QObject *parent = nullptr);
};
Q_DECLARE_OPERATORS_FOR_FLAGS(AppSettings::DrawOptions)

struct Sizes
{
    Q_GADGET
    QML_NAMED_ELEMENT(SizeValues)
public:
    enum Size : short { Small = -1, Medium, Large = Medium + 10 };
    Q_ENUM(Size)
};
