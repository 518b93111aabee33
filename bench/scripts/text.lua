-- Building a text of 2 x 10^4 characters one at a time, as text.js.
s = ""
i = 0
while i < 20000 do
  s = s .. "x"
  i = i + 1
end
print(#s)
