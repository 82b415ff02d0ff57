local function f() while true do end
  break
end
