-- Operator precedence and every kind of literal.
local a, b, c = 1, 2.5, 3e2
local hex, HEX, tiny = 0xff, 0XaBc, .5e-3
local frac, dot = 1.25E+2, 7.
local power = 0x10p2
local r1 = a + b * c - a / b % c
local r2 = -a ^ 2 ^ -b
local r3 = not a == b or a < b and b <= c
local r4 = "x" .. "y" .. a .. b
local r5 = #"length" + #{1, 2, 3}
local r6 = (a + b) * (c - a) / ((b))
local r7 = a ~= b and a >= c or not not nil
local r8 = 2 ^ - - 3
local s1 = "double \"quoted\" with \\ and \n\t\a\b\f\r\v escapes"
local s2 = 'single \'quoted\' \65\066\0677 and \255\0'
local s3 = "a backslash line end \
continues the string"
local s4 = [[a long string
with ]] .. [==[ one with ]] inside and [[ too ]==]
local s5 = [=[
level one ]] ]==] ]=]
local t = { [1] = "one", two = 2, "three"; 4, [a + b] = c, f = function() return true end, }
local empty, nested = {}, {{}, {{}}, {x = {y = {z = false}}}}
print(r1, r2, r3, r4, r5, r6, r7, r8, s1, s2, s3, s4, s5, t, empty, nested)
print(hex, HEX, tiny, frac, dot, power, 1 == 1.0, -0, - -1)
