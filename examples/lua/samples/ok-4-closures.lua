-- Closures, upvalues, tail calls and functions as values.
local function counter(start, step)
  local n = start or 0
  return function()
    n = n + (step or 1)
    return n
  end
end

local function compose(f, g)
  return function(...) return f(g(...)) end
end

local function apply(f, ...)
  return f(...)
end

local memo = setmetatable({}, {__mode = "k"})
local function fib(n)
  if n < 2 then return n end
  local known = memo[n]
  if known then return known end
  local value = fib(n - 1) + fib(n - 2)
  memo[n] = value
  return value
end

local next_id = counter(100, 10)
local double_then_inc = compose(function(x) return x + 1 end, function(x) return x * 2 end)
local results = { next_id(), next_id(), double_then_inc(20), apply(math.max, 3, 9, 4), fib(20) }
print(unpack(results))
print(string.format("%d-%s", 42, ("x"):rep(3)), ("%5.2f"):format(math.pi))
local obj = { name = "obj" }
function obj.greet(self, other) return "hello " .. other.name .. " from " .. self.name end
print(obj:greet{ name = "table argument" }, obj.greet(obj, {name = "plain"}))
print(type(print) == "function" and #arg or 0)
local s = tostring"string argument" .. tostring[[long argument]]
print(s)
