// Enums no Q_ENUM names, for --all: with the documentation comments quotes,
// backslashes and brackets, a 64-bit value, a template, an unnamed enum.
#pragma once

/// A "quoted" \ description [-with-] markers
enum Level : long long { Low = 1, Huge = 0x100000000LL };

namespace {
enum { Unnamed = 3 };
}

template <int N>
struct Buffer
{
    enum Bound { Lower = N * 2, Upper };
};
