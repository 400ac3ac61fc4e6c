// Shape:     {Shape::Circle, u"Circle"_q, u""_q, (int)0}
