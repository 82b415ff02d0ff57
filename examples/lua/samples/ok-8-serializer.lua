-- Writes a value as Lua source text: sorted keys, nested tables, cycles refused.
local serialize

local function is_identifier(s)
  return type(s) == "string" and s:match("^[%a_][%w_]*$") ~= nil
end

local function sorted_keys(t)
  local keys = {}
  for k in pairs(t) do keys[#keys + 1] = k end
  table.sort(keys, function(a, b)
    local ta, tb = type(a), type(b)
    if ta ~= tb then return ta < tb end
    return a < b
  end)
  return keys
end

local writers = {
  ["nil"] = function() return "nil" end,
  boolean = function(v) return v and "true" or "false" end,
  number = function(v)
    if v ~= v then return "0/0" end
    if v == 1/0 then return "1/0" elseif v == -1/0 then return "-1/0" end
    return string.format("%.17g", v)
  end,
  string = function(v) return string.format("%q", v) end,
  table = function(v, seen, indent)
    if seen[v] then error("cycle", 2) end
    seen[v] = true
    local out, pad = {}, string.rep("  ", indent + 1)
    for _, k in ipairs(sorted_keys(v)) do
      local key
      if is_identifier(k) then key = k
      else key = "[" .. serialize(k, seen, indent + 1) .. "]" end
      out[#out + 1] = pad .. key .. " = " .. serialize(v[k], seen, indent + 1)
    end
    seen[v] = nil
    if #out == 0 then return "{}" end
    return "{\n" .. table.concat(out, ",\n") .. "\n" .. string.rep("  ", indent) .. "}"
  end,
}

function serialize(value, seen, indent)
  local write = writers[type(value)]
  if not write then
    error("cannot serialize a " .. type(value))
  end
  return write(value, seen or {}, indent or 0)
end

local sample = {
  name = "sample", [1] = 1.5, [2] = -3, flags = {on = true, off = false},
  ["not an identifier"] = "\0\r\n", nested = {{}, {1, {2, {3}}}},
}
print(serialize(sample))
local ok, message = pcall(serialize, print)
print(ok, message)
local cyclic = {}; cyclic.self = cyclic
print(pcall(serialize, cyclic))
