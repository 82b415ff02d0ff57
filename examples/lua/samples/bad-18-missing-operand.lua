local x = 1
local y = x +
