// Shape:     Circle = (int)0
