// Mode: 2 items
