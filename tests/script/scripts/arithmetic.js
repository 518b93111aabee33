// Integer and real arithmetic, text joining and the comparison rules.
print(7 / 2, " ", 7 % 3, " ", -7 / 2, " ", 7 / 0, " ", 7 % 0);
print(7.0 / 2, " ", 1 / 3.0, " ", 0.05, " ", 12345678901.0);
print("7" / 2, " ", "10" - 4, " ", 1 + "2", " ", "a" + 5, " ", 2 + 0.5);
print(1 << 33, " ", -1 >>> 28, " ", -16 >> 2, " ", 6 & 3, " ", 6 | 3, " ", 6 ^ 3, " ", ~0);
print(2147483647 + 1, " ", -2147483648, " ", 0x7FFFFFFF, " ", 0xFFFFFFFF);
print(true == 1, " ", "5" == 5, " ", null == null, " ", null != null, " ", 1 === 1.0, " ", 1 !== 1.0);
print(false < true, " ", "a" < "b", " ", "10" < 9, " ", 2 <= 2, " ", 3 > 4, " ", 3 >= 3);
print(typeof 1, " ", typeof 2.5, " ", typeof "s", " ", typeof [], " ", typeof null, " ", typeof print);
print(2 + 3 * 4, " ", (2 + 3) * 4, " ", 10 - 4 - 3, " ", 2 * 3 % 4, " ", -(2 + 3));
var x = 5;
x += 2; x -= 1; x *= 3; x /= 2; x %= 5; x <<= 3; x >>= 1; x |= 1; x &= 13; x ^= 6;
print(x);
var s = "ab";
s += "c";
var n = 1234;
print(s, " ", s.length, " ", n.length);
