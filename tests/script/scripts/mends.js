// && and || short-circuit, expression statements keep their effects, ?:
// groups to the right, var declares, and errors name the right line.
var calls = "";
function f(r) { calls = calls + "f"; return r; }
function g(r) { calls = calls + "g"; return r; }
var a = f(false) && g(true);
print(a, " ", calls);
calls = "";
var b = f(true) || g(false);
print(b, " ", calls);
calls = "";
f(false) || g(true);
f(1) + g(2);
-f(3);
print(calls);
var p = true;
print(p ? "q" : false ? "s" : "t");
print(true && "x", " ", 0 || "true");
var declared;
print(typeof declared);
function local() { var inner; inner = 4; return inner; }
print(local());
function len(a, b) { return a.length + b; }
print(len([1, 2], 3));
var list = [1, [2, 3], 4];
print(list.length, " ", list[1].length);
print(!!5, " ", -~0, " ", typeof -1);
