// Options: 3 items
