// Shape
