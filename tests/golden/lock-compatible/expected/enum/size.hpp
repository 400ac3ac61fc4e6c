// Size: 2 items
