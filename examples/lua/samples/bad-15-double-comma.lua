local t = {1, 2,, 3}
