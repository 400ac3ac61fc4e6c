// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "option.hpp"

// The descriptions of the options set in `options`, comma-separated.
QString optionsText(Options options);
