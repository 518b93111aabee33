// Building a text of 2 x 10^4 characters one at a time.
var s = "";
for (var i = 0; i < 20000; i++) {
  s = s + "x";
}
print(s.length);
