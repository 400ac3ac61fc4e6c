// Level
