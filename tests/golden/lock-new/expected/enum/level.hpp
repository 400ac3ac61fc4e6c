// Level: 2 items
