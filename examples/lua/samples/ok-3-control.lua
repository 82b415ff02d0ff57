--[[ Control structures: loops with break, nested functions,
     repeat-until, numeric and generic for. ]]
local function find(list, wanted)
  for index, value in ipairs(list) do
    if value == wanted then
      return index
    end
  end
  return nil
end

local function sum(n)
  local total, i = 0, 0
  repeat
    i = i + 1
    if i % 2 == 0 then total = total + i else total = total - 1 end
  until i >= n
  return total
end

local count = 0
for i = 10, 1, -1 do
  for j = 1, i do
    if j > 3 then break end
    count = count + j
  end
end

while true do
  count = count - 1
  if count < 0 then
    do
      local reason = "below zero"
      print(reason)
    end
    break
  end
end

local k = 0
repeat k = k + 1; if k == 3 then break; end until false

for key in pairs({a = 1}) do print(key) end
for _, v in next, {1, 2} do print(v) end
print(find({5, 6, 7}, 6), sum(10), count, k);
