// Loops with break and continue, switch with fall-through, with.
var s = "";
for (var i = 0; i < 10; i++) {
  if (i == 2) continue;
  if (i == 6) break;
  s = s + i;
}
print(s);
var n = 0;
while (true) { n++; if (n >= 5) break; }
print("while ", n);
var d = 0;
do { d++; } while (d < 3);
print("do ", d);
var k = 0;
do { k++; continue; } while (k < 4);
print("do continue ", k);
function sw(k) {
  var out = "";
  switch (k) {
    case 1: out = out + "a";
    case 2: out = out + "b"; break;
    default: out = out + "c";
  }
  return out;
}
print(sw(1), " ", sw(2), " ", sw(3));
function sw2(k) { switch (k) { case 1: return "one"; } return "none"; }
print(sw2(1), " ", sw2(5));
var t = "";
for (var a = 0; a < 3; a++) {
  switch (a) {
    case 1:
      for (var b = 0; b < 5; b++) { if (b == 2) break; t = t + "b"; }
      break;
    default:
      t = t + a;
  }
}
print(t);
var o = new Object();
o.p = 3;
with (o) { p = p + 1; q = 2; }
print(o.p, " ", q);
var w = "";
for (var j = 0; j < 3; j++) {
  with (o) {
    if (j == 1) continue;
    w = w + p;
  }
}
print(w);
var nested = 0;
for (var x = 0; x < 3; x++) for (var y = 0; y < 3; y++) { if (y == 1) break; nested++; }
print("nested ", nested);
