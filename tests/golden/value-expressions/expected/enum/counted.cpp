// Counted
