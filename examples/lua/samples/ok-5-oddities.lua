-- Corners of the syntax: calls and parentheses, statements that begin with one,
-- semicolons, comments of every level and assignments to indexed expressions.
local t = {f = function(...) return ... end, list = {1, 2, 3}}
;(print)("a call through parentheses")
local x = 1
;(t.f)(x)
t.f(x) (function() end) -- the call continues on the same line
local y = {}
(print)("a parenthesis at the start of a line after a table constructor")
local z = "str"
(print)("or after a string")
t["list"][2], t.list[3] = t.list[3], t["list"][2]
t.f(1).g = nil or 2 --[==[ a comment of level two ]] ]=] ]==] x = 3
--[=[ level one
   over lines ]=]
--[ not a long comment
--[==x neither
a, b = (t.f)(1), ((x))
local self = t
self.f(t.f(t.f(1)))
print(#t.list, - x, not x, y, z, a, b)
t.f"string" [1] = 2
t.f{} [1] = 3
local f = function(a, b, ...) local arg = {...}; return arg end
return f(1, 2, 3);
