// Shape: 3 items
