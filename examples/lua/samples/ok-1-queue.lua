#!/usr/bin/env lua5.1
-- A double-ended queue with a metatable, method calls and varargs.
local Deque = {}
Deque.__index = Deque

function Deque.new(...)
  local self = setmetatable({first = 1, last = 0}, Deque)
  for i = 1, select("#", ...) do
    self:push_back((select(i, ...)))
  end
  return self
end

function Deque:push_back(value)
  self.last = self.last + 1
  self[self.last] = value
end

function Deque:push_front(value)
  self.first = self.first - 1; self[self.first] = value
end

function Deque:pop_front()
  if self.first > self.last then return nil end
  local value = self[self.first]
  self[self.first], self.first = nil, self.first + 1
  return value
end

function Deque:size() return self.last - self.first + 1 end

local q = Deque.new(10, 20, 30)
q:push_front(5)
while q:size() > 0 do
  local v = q:pop_front()
  if v == 20 then
    print("twenty")
  elseif v < 10 then
    print("small", v)
  else
    print(v)
  end
end
