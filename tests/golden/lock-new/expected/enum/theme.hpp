// Theme: 2 items
