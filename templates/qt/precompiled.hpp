// SPDX-License-Identifier: MIT-0
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
// <QtQml/qqml.h> stays out, though each enum's source of a QML module
// includes it: every file that includes it carries about 700 KB of its debug
// information, which slows links.

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <utility>
