// Corner: 2 items
