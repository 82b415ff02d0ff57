-- Single inheritance with metatables, operators and a small state machine.
local Class = {}
Class.__index = Class

function Class:extend(fields)
  local sub = fields or {}
  sub.__index = sub
  sub.super = self
  return setmetatable(sub, self)
end

function Class:new(...)
  local object = setmetatable({}, self)
  if object.init then object:init(...) end
  return object
end

local Vector = Class:extend{
  __add = function(a, b) return Vector:new(a.x + b.x, a.y + b.y) end,
  __eq = function(a, b) return a.x == b.x and a.y == b.y end,
  __tostring = function(v) return "(" .. v.x .. ", " .. v.y .. ")" end,
}
function Vector:init(x, y) self.x, self.y = x or 0, y or 0 end
function Vector:length() return math.sqrt(self.x ^ 2 + self.y ^ 2) end

local Named = Vector:extend()
function Named:init(name, ...)
  Named.super.init(self, ...)
  self.name = name
end
Named.__tostring = function(v) return v.name .. Vector.__tostring(v) end
Named.__add = Vector.__add

local states = {
  idle = { start = "running" },
  running = { pause = "paused", stop = "idle" },
  paused = { resume = "running", stop = "idle" },
}
local function step(state, event)
  local to = (states[state] or {})[event]
  if to == nil then
    return state, false
  end
  return to, true
end

local state = "idle"
for _, event in ipairs{"start", "pause", "bogus", "resume", "stop"} do
  local moved
  state, moved = step(state, event)
  print(event, state, moved)
end
local a, b = Vector:new(3, 4), Named:new("b", 1, 1)
print(tostring(a + b), a:length(), a == Vector:new(3, 4), tostring(b))
