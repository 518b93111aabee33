-- Pushing 10^5 items onto an array and popping them all again, as array.js.
a = {}
i = 0
while i < 100000 do
  a[#a + 1] = i & 255
  i = i + 1
end
s = 0
while #a > 0 do
  s = s + table.remove(a)
end
print(s)
