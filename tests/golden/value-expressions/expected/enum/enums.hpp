// 1 enums
