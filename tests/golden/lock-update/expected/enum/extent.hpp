// Extent: 2 items
