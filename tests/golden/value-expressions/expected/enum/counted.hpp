// Counted: 10 items
