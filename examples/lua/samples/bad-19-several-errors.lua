local function area(w, h)
  return w * * h
end
local t = {1, 2 3}
if area(2, 3) > 5 print("big") end
local s = "ok"
