// Theme
