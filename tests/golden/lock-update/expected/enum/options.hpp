// Options: 2 items
