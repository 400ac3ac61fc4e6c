// Options: 4 items
