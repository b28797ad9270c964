-- The workloads of bench_interpreter.cpp in Lua 5.4, for comparison: lua5.4 interpreter.lua
local function time(name, f)
  local best = math.huge
  for _ = 1, 5 do
    local t = os.clock()
    f()
    best = math.min(best, os.clock() - t)
  end
  print(string.format("%-22s %8.1f ms", name, best * 1000))
end

time("NumericLoop (for)", function()
  local s = 0
  for i = 0, 9999999 do s = s + i end
  assert(s == 49999995000000)
end)

time("NumericWhileLoop", function()
  local s, i = 0, 0
  while i < 10000000 do s = s + i; i = i + 1 end
  assert(s == 49999995000000)
end)

time("StringBuild", function()
  local s = ""
  for _ = 1, 100000 do s = s .. "a" end
  assert(s == string.rep("a", 100000))
end)

time("Array2D", function()
  local a = {}
  for i = 0, 999 do
    local row = {}
    a[i] = row
    for j = 0, 999 do row[j] = i + j end
  end
  local s = 0
  for i = 0, 999 do
    for j = 0, 999 do s = s + a[i][j] end
  end
  assert(s == 999000000)
end)

time("BuiltinCalls", function()
  local abs, x = math.abs, 0
  for i = 0, 999999 do x = x + abs(-i) end
  assert(x == 499999500000)
end)

time("ScriptCalls", function()
  local function add(a, b) return a + b end
  local x = 0
  for i = 0, 99999 do x = add(x, i) end
  assert(x == 4999950000)
end)
