// A second header named from where enumgen-import runs, as the list and the
// lock are, though clang works in the build's folder.
#pragma once
#include <QObject>

namespace Dialog {
Q_NAMESPACE
enum class Size { Small, Large };
Q_ENUM_NS(Size)
} // namespace Dialog
