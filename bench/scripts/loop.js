// An integer loop of 10^6 iterations.
var s = 0;
for (var i = 0; i < 1000000; i++) {
  s = s + (i & 7);
}
print(s);
