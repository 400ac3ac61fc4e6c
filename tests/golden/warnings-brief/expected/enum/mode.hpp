// Mode: 1 items
