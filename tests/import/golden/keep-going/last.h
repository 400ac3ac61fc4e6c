#include <QObject>

namespace Net {
Q_NAMESPACE
enum class Protocol { Http = 1, Ftp = 2 };
Q_ENUM_NS(Protocol)
}
