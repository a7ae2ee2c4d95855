-- Peer of the hexadecimal dump workload: builds a spaced-hexadecimal dump of
-- N bytes and takes it apart pair by pair, R times.
local function dump(n)
  local s = ""
  for i = 1, n do s = s .. string.format("%02X ", i & 255) end
  local sum = 0
  for i = 1, n do sum = sum + tonumber(string.sub(s, i * 3 - 2, i * 3 - 1), 16) end
  return sum
end
local r, n = tonumber(arg[1]), tonumber(arg[2])
local total = 0
for _ = 1, r do total = total + dump(n) end
print(total)
