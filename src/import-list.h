// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "import-headers.h"

// The enum list of the imported enums: a comment saying where it comes from
// (`headers`), then a "+" line per enum and a "-" line per item, every item
// with its value. Fills the enums' and items' line and column fields with
// where they stand in the list.
std::string renderEnumList(const std::vector<std::string>& headers, ImportResult* result);

// Reads `list` as enumgen will, and adds what enumgen will report about it to
// `result->messages`, each at the declaration its line comes from.
void checkImportedList(const std::string& list, ImportResult* result);
