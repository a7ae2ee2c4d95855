-- Peer of `0 N "+" FOR`: sums 1..N in a function.
local function sum(n)
  local s = 0
  for i = 1, n do s = s + i end
  return s
end
print(sum(tonumber(arg[1])))
