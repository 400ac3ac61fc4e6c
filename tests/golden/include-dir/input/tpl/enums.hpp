#pragma once
// __ENUM_TOTAL_COUNT enums
