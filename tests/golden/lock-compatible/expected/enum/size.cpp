// Size
