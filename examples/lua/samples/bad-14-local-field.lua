local a.b = 1
