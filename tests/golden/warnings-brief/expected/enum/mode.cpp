// Mode
