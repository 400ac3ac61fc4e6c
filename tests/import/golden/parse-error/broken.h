#include <QObject>
#include "missing.h"

class Broken { Q_GADGET enum E { A = }; Q_ENUM(E) };
