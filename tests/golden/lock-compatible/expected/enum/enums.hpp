// 6 enums
