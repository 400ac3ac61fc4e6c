// __ENUM_TOTAL_COUNT enums
