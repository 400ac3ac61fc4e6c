// Shape: 1 items
