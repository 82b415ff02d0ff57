local found
for i = 1, 3 do found = i end
break
