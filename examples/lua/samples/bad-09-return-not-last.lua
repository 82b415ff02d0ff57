local function f()
  return 1
  print("after return")
end
