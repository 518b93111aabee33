// Pushing 10^5 items onto an array and popping them all again.
var a = [];
for (var i = 0; i < 100000; i++) {
  a.push(i & 255);
}
var s = 0;
while (a.length > 0) {
  s = s + a.pop();
}
print(s);
