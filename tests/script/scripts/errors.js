// A run-time error after a call returns names the caller's line.
function inner() {
  var t = 1;
  return t;
}
var x = inner() + undefinedName;
print("not reached");
