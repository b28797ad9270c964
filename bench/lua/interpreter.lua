-- The workloads of bench_interpreter.cpp in Lua 5.4, for comparison: lua5.4 interpreter.lua
-- Each line is the benchmark's name in bench_interpreter and the best of five CPU times.
local function time(name, f)
  local best = math.huge
  for _ = 1, 5 do
    local t = os.clock()
    f()
    best = math.min(best, os.clock() - t)
  end
  print(string.format("%-24s %10.3f ms", name, best * 1000))
end

time("BM_NumericLoopLocals", function()
  local s = 0
  for i = 0, 9999999 do s = s + i end
  assert(s == 49999995000000)
end)

-- Instance variables are fields of a table.
time("BM_NumericLoopInstance", function()
  local self = {}
  self.s = 0
  self.i = 0
  while self.i < 10000000 do self.s = self.s + self.i; self.i = self.i + 1 end
  assert(self.s == 49999995000000)
end)

time("BM_NumericWhileLoop", function()
  local s, i = 0, 0
  while i < 10000000 do s = s + i; i = i + 1 end
  assert(s == 49999995000000)
end)

-- Lua strings cannot grow in place: the fast way to build one from pieces is a table of the
-- pieces joined once; s = s .. "a" makes a new string every time, as s = s + 'a' reads.
time("BM_StringBuild", function()
  local parts = {}
  for k = 1, 100000 do parts[k] = "a" end
  local s = table.concat(parts)
  assert(s == string.rep("a", 100000))
end)
time("BM_StringConcatenate", function()
  local s = ""
  for _ = 1, 100000 do s = s .. "a" end
  assert(s == string.rep("a", 100000))
end)

time("BM_Array2D", function()
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

time("BM_BuiltinCalls", function()
  local abs, x = math.abs, 0
  for i = 0, 999999 do x = x + abs(-i) end
  assert(x == 499999500000)
end)

time("BM_BuiltinAbsSqrt", function()
  local abs, sqrt, x = math.abs, math.sqrt, 0
  for i = 0, 999999 do x = x + (abs(-i) + sqrt(i)) end
  assert(x > 499999500000)
end)

local function fib(n)
  if n < 2 then return n end
  return fib(n - 1) + fib(n - 2)
end
time("BM_Fibonacci", function()
  assert(fib(25) == 75025)
end)

time("BM_ScriptCalls", function()
  local function add(a, b) return a + b end
  local x = 0
  for i = 0, 99999 do x = add(x, i) end
  assert(x == 4999950000)
end)
