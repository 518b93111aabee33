-- An integer loop of 10^6 iterations, as loop.js.
s = 0
i = 0
while i < 1000000 do
  s = s + (i & 7)
  i = i + 1
end
print(s)
