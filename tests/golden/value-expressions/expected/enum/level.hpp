// Level: 4 items
