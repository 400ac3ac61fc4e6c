// Level: 3 items
