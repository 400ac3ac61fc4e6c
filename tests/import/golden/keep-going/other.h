#include <QObject>
#include "common.h"

class Viewer : public QObject {
    Q_OBJECT
public:
    enum class Zoom { Fit, Actual };
    Q_ENUM(Zoom)
};
