// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "enum-model.h"
#include "list-message.h"

// Whether the enums become QML types as well, which QML names must suit.
enum class QmlNames { Unchecked, Checked };

// Adds to `messages` every mistake of the enum list that would break the
// generated code whatever the templates (errors: names that are no C++
// identifiers, items named alike, and with QML names QML cannot take) and
// what is usually a mistake (warnings: equal values or keys).
void checkEnums(const std::vector<EnumType>& enums, QmlNames qml, ListMessages* messages);
