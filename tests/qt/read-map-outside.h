// SPDX-License-Identifier: MIT
// What the golden list lock-texts takes from outside it: a constant its Global
// is, and a macro its Contrast and HighContrast are. Each has a value of its
// own, so that reading one item as another shows.
#pragma once
#ifdef __cplusplus
inline constexpr int Light = 7;
#define EXTERNAL 2
#endif
