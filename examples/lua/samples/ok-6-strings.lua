local lines = {}
local function add(s) lines[#lines + 1] = s end
add("tab\there")
add('\'"\\')
add("\1\12\123\0\00")
add("digits after short escapes: \1a \12b \255")
add([[]])
add([[
]])
add([==[a ]=] b ]] c]==])
add([=[ [[nested brackets are fine at level one]] ]=])
add("UTF-8 bytes: héllo wörld")
add('trailing backslash-newline \
')
local long = [[
  first line
  last line]]
add(long)
for i, s in ipairs(lines) do io.write(i, ": ", s, "\n") end
