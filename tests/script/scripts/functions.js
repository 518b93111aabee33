// Functions, recursion, arguments, globals and locals.
function fib(n) {
  if (n < 2) return n;
  return fib(n - 1) + fib(n - 2);
}
print("fib ", fib(20));
print(later(2));  // defined below: every function exists before the main code runs
function later(k) { return k * 10; }
function args(a, b, c) { return typeof a + " " + typeof b + " " + typeof c; }
print(args(1), ", ", args(1, "x", 3, 4));
var g = 1;
function scopes() {
  var g = 5;      // a local hides the global
  h = 7;          // a new global
  return g;
}
print(scopes(), " ", g, " ", h);
function counter() { count = count + 1; }
count = 0;
counter(); counter(); counter();
print("count ", count);
function noReturn() { var t = 1; }
print(typeof noReturn());
function fact(n) { var r = 1; while (n > 1) { r = r * n; n--; } return r; }
print(fact(10));
function same(x) { return x; }
function same(x) { return x + 1; }
print(same(1));
var o = new Object();
o.v = 9;
o.get = function_get;
function function_get() { return this.v; }
print(o.get());
