x = 1
--[[ a comment
that never ends
