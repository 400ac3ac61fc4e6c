// Color: 0 items
