#include <QObject>

namespace BitTorrent {
// A namespace of its own for moc, which the code never names.
inline namespace TorrentContentLayoutNS {
Q_NAMESPACE
enum class TorrentContentLayout { Original, Subfolder, NoSubfolder };
Q_ENUM_NS(TorrentContentLayout)
}

class Session {
    Q_GADGET
public:
    enum Option { Fast = 1, Safe = 2 };
    Q_DECLARE_FLAGS(Options, Option)
    Q_FLAG(Options)
};
}
