// Color
