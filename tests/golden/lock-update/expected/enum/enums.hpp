// 5 enums
