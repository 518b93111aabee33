// The built-ins together: a queue of readings, their text, a little maths
// and formatted output.
var readings = [];
for (var i = 1; i <= 5; i++) readings.push(i * 1.5);
var first = readings.shift();
readings.unshift(0);
print("readings ", readings.join(";"), " first ", first);
var middle = readings.splice(1, 2, "a", "b", "c");
print("spliced ", middle.join(), " left ", readings.join());
var tail = readings.slice(-2);
print("tail ", tail.join("+"));
var all = tail.concat([1, 2], 3);
print("concat ", all.join(), " count ", all.length);
var order = [5, 3, 9, 1];
order.sort();
order.reverse();
print("sorted down ", order.join(" "));
var word = "robot";
print(word.charAt(0), word.charCodeAt(1), " ", word.indexOf("bo"), " ", word.concat("-", 7));
print(String.fromCharCode(79, 75));
print(Math.round(Math.sqrt(2) * 100), " ", Math.max(3, 4.5), " ", Math.abs(-12), " ", Math.floor(Math.PI * 1000) / 1000);
printf("%s has %d wheels at %f m/s", "rover", 4.7, 0.25);
console.log(parseInt("0x10") + parseFloat("0.5"));
console.info("%d%%", 50);
