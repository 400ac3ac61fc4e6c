// Shape: 4 items
