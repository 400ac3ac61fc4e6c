// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "enum-model.h"

// The registry header: the template with the number of enums and the lines
// that open and close the namespace `scope` filled in.
std::string registryHeader(std::string registryTemplate, const std::vector<EnumType>& enums, std::string_view scope);

// The registry source: an include of every enum header, the meta-type id to
// name/variant converter chain, and the array of all meta-type ids, in the
// namespace `scope` (empty for the global one).
std::string registrySource(const std::vector<EnumType>& enums, std::string_view scope);
