local s = "x"
print(s:upper)
