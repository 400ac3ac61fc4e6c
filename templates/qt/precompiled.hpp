// The headers the generated files include, which are most of what a file that
// includes an enum header compiles. enumgen_generate and the qmake feature
// precompile them for the target when its templates come with this file.
#include <QAbstractListModel>
#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QFlags>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>
#ifdef ENUMGEN_QML
// What each enum's source and the module's type registration include besides.
#include <QtQml/qqml.h>
#endif

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
