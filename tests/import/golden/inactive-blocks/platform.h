#include <QObject>

class Window : public QObject {
    Q_OBJECT
public:
    enum class Frame { Native, Custom };
    Q_ENUM(Frame)
#ifdef Q_OS_WIN
    enum class Backdrop { Mica, Acrylic };
    Q_ENUM(Backdrop)
#elif defined(Q_OS_MACOS)
    enum class Vibrancy { Light, Dark };
    // Q_ENUM(Vibrancy) in a comment says nothing.
    Q_ENUM (Vibrancy)
#endif
    // Another scope's enum is named as written.
    Q_ENUMS(Qt::DayOfWeek)
};
