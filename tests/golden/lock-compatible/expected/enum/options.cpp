// Options
