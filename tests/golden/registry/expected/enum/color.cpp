// Color:     {Color::Red, u"Red"_q, u""_q, (int)0},
    {Color::Green, u"Green"_q, u""_q, (int)1}
