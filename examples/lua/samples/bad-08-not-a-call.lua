local t = {}
t.size
