// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "enum-model.h"

// The registry header: the template with the number of enums filled in.
std::string registryHeader(std::string registryTemplate, const std::vector<EnumType>& enums);

// The registry source: an include of every enum header, the meta-type id to
// name/variant converter chain, and the array of all meta-type ids.
std::string registrySource(const std::vector<EnumType>& enums);
