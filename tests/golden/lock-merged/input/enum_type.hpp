// __ENUM_NAME: __ENUM_COUNT items
