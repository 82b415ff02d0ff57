local t = {}
t.size() = 1
