// Extent
