for i = 1, 2, 3, 4 do end
