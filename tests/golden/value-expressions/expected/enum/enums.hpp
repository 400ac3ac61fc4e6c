// 2 enums
