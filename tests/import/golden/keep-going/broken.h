#include <QObject>
#include "common.h"

class Editor : public QObject {
    Q_OBJECT
public:
    enum class Tool { Pen, Eraser };
    Q_ENUM(Tool)
};
