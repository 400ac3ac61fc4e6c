// an old header
