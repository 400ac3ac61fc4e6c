// Color: 2 items
