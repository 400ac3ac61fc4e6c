// Color:     Red = (int)0,
    Green = (int)1
