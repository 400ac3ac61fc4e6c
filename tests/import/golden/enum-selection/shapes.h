#include <QObject>

class Shape {
    Q_GADGET
public:
    enum class Kind { Circle, Square };
    Q_ENUM(Kind)
    // Registered, but left for a later stage.
    enum class Fill { None, Solid };
    Q_ENUM(Fill)
};

class Brush {
    Q_GADGET
public:
    // Of the same name, but not the one asked for.
    enum class Kind { Flat, Gradient };
    Q_ENUM(Kind)
};

// Not registered, but asked for by name.
enum class Mode { Light, Dark };
