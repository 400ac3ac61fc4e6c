// 4 enums
