// The built-in functions: every one through compiled scripts, with the
// results worked out by hand; the order in which the machine creates them.
#include <cwchar>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runner/vm_runner.h"
#include "script/machine/vm_engine.h"
#include "script/machine/vm_function.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_object.h"
#include "script/values/vm_variable.h"
#include "script/vm_fixture.h"

namespace {

struct Case {
  const wchar_t* script;
  const wchar_t* expected;  // the log lines joined by "\n"
};

std::wstring Joined(const VmRunResult& r) {
  std::wstring out;
  for (size_t i = 0; i < r.lines.size(); ++i) out += (i ? L"\n" : L"") + r.lines[i];
  return out;
}

void RunCases(const Case* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    VmRunResult r = RunVmScript(cases[i].script);
    ASSERT_TRUE(r.compiled) << "case " << i << ": " << std::string(r.error.begin(), r.error.end());
    EXPECT_TRUE(r.finished) << "case " << i;
    EXPECT_EQ(Joined(r), cases[i].expected) << "case " << i;
  }
}

const std::wstring kNegativeCount =
    L"Ошибка в строке 1: Число удаляемых элементов массива не может быть отрицательной";

TEST(VmBuiltinsTest, ArrayMethods) {
  const Case cases[] = {
      {L"var a = [1, 2, 3]; print(a.push(4), \" \", a.length, \" \", a[3]);", L"4 4 4"},
      {L"var a = [1, 0]; a.pop(); print(a.push(), \" \", a.push(2, \"x\"), \" \", a.join());", L"1 3 1,2,x"},
      // A literal of one number makes that many undefined items.
      {L"var a = [2]; print(a.push(\"x\"), \" \", a.join());", L"3 ,,x"},
      {L"var a = []; print(typeof a.pop(), \" \", typeof a.shift(), \" \", a.length);", L"undefined undefined 0"},
      {L"var a = [5, 6, 7]; print(a.pop(), \" \", a.shift(), \" \", a.join(), \" \", a.length);", L"7 5 6 1"},
      {L"var a = [\"3\"]; print(a.unshift(1, 2), \" \", a.join());", L"3 1,2,3"},
      {L"var a = []; a.unshift(); print(a.length);", L"0"},
      {L"var a = [\"a\", 2, true]; print(a.join());", L"a,2,1"},
      {L"var a = [1, 2]; print(a.join(\"-\"));", L"1-2"},
      {L"var u; var a = [1, u, 3]; print(a.join());", L"1,,3"},
      {L"var a = [1, 2]; print(a.join(\"a\", \"+\"));", L"1+2"},
      {L"var u; var a = [1, 2]; print(a.join(u));", L"12"},
      {L"var e = []; var a = [\"7\"]; var b = [1.5, [2, 3]]; print(e.join(), \"|\", a.join(\"-\"), \"|\", b.join(\";\"));",
       L"|7|1.5;[array]"},
      // concat keeps the receiver's items, then one level of each array.
      {L"var a = [1, 2]; var c = a.concat([3, 4], 5); print(c.join());", L"1,2,3,4,5"},
      {L"var a = [\"1\"]; var c = a.concat([[2, 3]]); print(c.length, \" \", c[1].length, \" \", c[0]);", L"2 2 1"},
      {L"var a = [\"1\"]; var b = a.concat(2); b[0] = 9; print(a.length, b.length, a[0]);", L"121"},
      {L"var a = [1, 2]; var c = a.concat(a); var d = a.concat(); print(c.join(), \" \", d.length);", L"1,2,1,2 2"},
      // splice: JavaScript's counting from the end, start and count held
      // inside the array.
      {L"var a = [0, 1, 2, 3, 4]; var r = a.splice(1, 2); print(r.join(), \" \", a.join());", L"1,2 0,3,4"},
      {L"var a = [0, 1]; a.splice(1, 0, \"x\", \"y\"); print(a.join(), \" \", a.length);", L"0,x,y,1 4"},
      {L"var a = [0, 1, 2, 3]; var r = a.splice(-2, 1); print(r.join(), \" \", a.join());", L"2 0,1,3"},
      {L"var a = [0, 1, 2]; a.splice(-10, 1); print(a.join());", L"1,2"},
      {L"var a = [0, 1]; var r = a.splice(5, 1, \"z\"); print(r.length, \" \", a.join());", L"0 0,1,z"},
      {L"var a = [0, 1, 2]; var r = a.splice(1, 10); print(r.join(), \" \", r.length, \" \", a.join());",
       L"1,2 2 0"},
      {L"var a = [0, 1, 2]; a.splice(1, 1, \"a\", \"b\", \"c\"); print(a.join());", L"0,a,b,c,2"},
      {L"var a = [0, 1, 2, 3]; a.splice(0, 3, \"q\"); print(a.join(), \" \", a.length);", L"q,3 2"},
      {L"var a = [0, 1, 2]; var r = a.splice(); print(r.length, \" \", a.join());", L"0 0,1,2"},
      {L"var a = [0, 1]; a.splice(0, -1); print(\"after\");", kNegativeCount.c_str()},
      // slice: negative positions count from the end.
      {L"var a = [0, 1, 2, 3]; var b = a.slice(1); var c = a.slice(-1); var d = a.slice(2, 1); print(b.join(), \"|\", c.join(), \"|\", d.length);",
       L"1,2,3|3|0"},
      {L"var a = [0, 1, 2, 3]; var b = a.slice(1, -1); var c = a.slice(-10, 2); var d = a.slice(1, 10); print(b.join(), \"|\", c.join(), \"|\", d.join());",
       L"1,2|0,1|1,2,3"},
      {L"var a = [0, 1]; var b = a.slice(); b[0] = 5; print(a.join(), \" \", b.join());", L"0,1 5,1"},
      {L"var a = [1, 2, 3]; var b = a.reverse(); var e = []; print(a.join(), \" \", b == a, \" \", e.reverse() == e, e.length);",
       L"3,2,1 1 10"},
      {L"var a = [3, 1, 2]; var b = a.sort(); print(a.join(), \" \", b == a);", L"1,2,3 1"},
      {L"var a = [\"b\", \"a\", \"\"]; a.sort(); print(a.join());", L",a,b"},
      {L"var a = [2.5, 1, 3, -7]; a.sort(); print(a.join());", L"-7,1,2.5,3"},
      // Arrays by their item counts; equal ones keep their order.
      {L"var p = [1, 2]; var q = [3, 4]; var r = [\"5\"]; var a = [p, q, r]; a.sort(); print(a[0][0], a[1][0], a[2][0]);",
       L"513"},
      // The length of an array is read only.
      {L"var a = [1, 2]; a.length = 5; print(a.length);", L"2"},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
}

// A long reversed list comes out sorted; a list of every kind of value and
// of numbers that are no numbers sorts without harm.
TEST(VmBuiltinsTest, SortLongAndMixedLists) {
  const Case cases[] = {
      {L"var a = []; for (var i = 0; i < 3000; i++) a.push(3000 - i);\n"
       L"a.sort(); var ok = 1; for (var i = 0; i < 3000; i++) if (a[i] != i + 1) ok = 0;\n"
       L"print(ok, \" \", a.length);",
       L"1 3000"},
      {L"var n = 0.0 / 0; var o = new Object;\n"
       L"var a = [3, \"b\", n, true, [1], o, 1.5, n, \"a\", [1, 2], 0, o];\n"
       L"for (var k = 0; k < 20; k++) a.push(a[k % 12]);\n"
       L"a.sort(); print(a.length);",
       L"32"},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(VmBuiltinsTest, TextMethods) {
  const Case cases[] = {
      {L"var s = \"abc\"; print(s.charAt(1), \" \", typeof s.charAt(5), \" \", s.charCodeAt(0), \" \", s.length);",
       L"b undefined 97 3"},
      {L"var s = \"abc\"; print(s.indexOf(\"c\"), \" \", s.indexOf(\"c\", 3), \" \", s.indexOf(\"\"), \" \", s.indexOf());",
       L"2 -1 -1 -1"},
      {L"var s = \"abcabc\"; var t = \"abc\"; print(s.indexOf(\"bc\", 2), \" \", t.indexOf(\"c\", -1), \" \", t.indexOf(\"abcd\"));",
       L"4 -1 -1"},
      {L"var n = 1234; print(n.length, \" \", n.charAt(3), \" \", n.indexOf(\"23\"));", L"4 4 1"},
      {L"var x = 12.5; print(x.charAt(2), \" \", x.length);", L". 4"},
      {L"var u; print(u.length, \" \", typeof u.charAt(0), \" \", u.indexOf(\"a\"), \" \", u.concat(\"z\"));",
       L"0 undefined -1 z"},
      {L"var s = \"xyz\"; print(s.charAt(), \" \", typeof s.charAt(-1), \" \", typeof s.charCodeAt(3));",
       L"x undefined undefined"},
      {L"var s = \"я\"; var t = \"ab\"; print(s.charCodeAt(0), \" \", t.charCodeAt(1.9));", L"1103 98"},
      {L"var s = \"ab\"; var t = s.concat(); print(s.concat(1, \"c\", 2.5, true), \" \", t.length, \" \", s);", L"ab1c2.51 2 ab"},
      {L"print(String.fromCharCode(72, 105), \" \", String.fromCharCode(65, 0, 66), \"|\", String.fromCharCode(), \"|\");",
       L"Hi A||"},
      {L"var s = \"q\"; print(String.fromCharCode(65601, \"66\"), \" \", s.fromCharCode(67));", L"AB C"},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(VmBuiltinsTest, MathFunctionsAndConstants) {
  const Case cases[] = {
      // Integers stay integers (7 / 2 divides as integers), numbers not.
      {L"print(Math.max(2, 7), \" \", Math.max(2, 7) / 2, \" \", Math.max(2, 7.5), \" \", Math.min(2, 7.5));",
       L"7 3 7.5 2"},
      {L"print(Math.min(true, false), Math.max(true, false), \" \", typeof Math.min(true, false));", L"01 boolean"},
      {L"print(typeof Math.max(5), \" \", typeof Math.max(\"a\", [1]), \" \", Math.max(\"5\", 3) / 2);",
       L"undefined undefined 2"},
      {L"print(Math.pow(2, 10), \" \", Math.pow(2, 10) / 3, \" \", typeof Math.pow(2));", L"1024 341.3333333 undefined"},
      {L"print(Math.round(2.5), \" \", Math.round(-2.5), \" \", Math.round(2.4), \" \", Math.round(-2.4), \" \", Math.round(0.5) / 2);",
       L"3 -3 2 -2 0"},
      {L"print(Math.abs(\"-3.7\"), \" \", Math.abs(-2.5), \" \", Math.abs(-4), \" \", Math.abs(true), \" \", Math.abs(\"-3.7\") / 2);",
       L"3 2.5 4 1 1"},
      {L"print(Math.floor(7.5) / 2, \" \", Math.ceil(6.2) / 4, \" \", Math.floor(-0.5));", L"3.5 1.75 -1"},
      {L"print(Math.sqrt(16), \" \", Math.pow(2, 0.5), \" \", Math.exp(0), \" \", Math.log(1), \" \", Math.log(Math.E));",
       L"4 1.414213562 1 0 1"},
      {L"print(Math.sin(0), \" \", Math.cos(0), \" \", Math.tan(0), \" \", Math.asin(1), \" \", Math.acos(1), \" \", Math.atan(1));",
       L"0 1 0 1.570796327 0 0.7853981634"},
      {L"print(Math.atan2(1, 0), \" \", Math.atan2(0, -1), \" \", Math.atan2(-1, -1), \" \", typeof Math.atan2(1));",
       L"1.570796327 3.141592654 -2.35619449 undefined"},
      {L"print(Math.PI, \" \", Math.E, \" \", Math.LN2, \" \", Math.LN10);", L"3.141592654 2.718281828 0.6931471806 2.302585093"},
      {L"print(Math.LOG10E, \" \", Math.LOG2E, \" \", Math.SQRT1_2, \" \", Math.SQRT2);",
       L"0.4342944819 1.442695041 0.7071067812 1.414213562"},
      {L"print(typeof Math.sqrt(), \" \", typeof Math.abs(), \" \", typeof Math.round(), \" \", typeof Math.random());",
       L"undefined undefined undefined number"},
      {L"var ok = 1; for (var i = 0; i < 200; i++) { var r = Math.random(5); if (r < 0 || r > 1) ok = 0; }\nprint(ok);",
       L"1"},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(VmBuiltinsTest, ParsersTimeAndSleep) {
  const Case cases[] = {
      {L"print(parseInt(\"0x1F\"), \" \", parseInt(\"12abc\"), \" \", parseInt(2.9), \" \", typeof parseInt());",
       L"31 12 2 undefined"},
      {L"print(parseInt(\"0x1F\") / 2, \" \", parseFloat(\"2.5e1\"), \" \", parseFloat(\"x\"), \" \", typeof parseFloat());",
       L"15 25 0 undefined"},
      {L"print(parseFloat(\"7\") / 2);", L"3.5"},
      {L"print(time(), \" \", typeof time(1, 2));", L"0 number"},
      {L"var r = sleep(100); print(typeof r, \" \", typeof sleep());", L"undefined undefined"},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(VmBuiltinsTest, PrintAndPrintf) {
  const Case cases[] = {
      {L"print(\"a\", 1, 2.5);", L"a12.5"},
      {L"var r = print(); print(r, \" \", print(\"x\"));", L"x\n0 1"},
      {L"var u; var o = new Object; print(u, \"|\", [1], \"|\", o, \"|\", print, \"|\", 100, \"%d\");",
       L"|[array]|[object]|[function]|100%d"},
      {L"console.log(\"q\", 5); console.info(\"%s!\", \"hi\");", L"q5\nhi!"},
      {L"printf(\"%d-%s\", 3.9, \"x\");", L"3-x"},
      {L"printf(\"%d %d\", 1);", L"%d 1"},
      {L"printf(\"%d\");", L"%d"},
      {L"printf(\"%f|%f\", 1.0 / 3, \"2.5\");", L"0.3333333333|2.5"},
      {L"printf(\"a%sb%dc\", \"x\", \"7\");", L"axb7c"},
      // Surplus value arguments are the first ones: the last pairs with the
      // last placeholder.
      {L"printf(\"a%sb%dc\", \"x\", \"7\", \"surplus\");", L"a7b0c"},
      {L"printf(\"%%d\", 5); printf(\"%x %s\", 1); printf(\"%s\", \"\"); printf(\"a%s\", \"\");", L"%5\n%x 1\n\na"},
      {L"printf(\"%d%\", 4); printf(\"%s%s\", \"%\", \"d\");", L"4%\n%d"},
      {L"var r = printf(); var s = printf(\"\"); print(r, \" \", typeof s, \" \", printf(\"-\"));", L"-\n0 undefined 1"},
      {L"printf(5); printf(\"%d\", \"\");", L"5\n0"},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
}

// A printed line keeps its first 511 characters.
TEST(VmBuiltinsTest, LongLinesAreCut) {
  VmRunResult r = RunVmScript(
      L"var s = \"\"; for (var i = 0; i < 600; i++) s = s + \"x\";\n"
      L"print(s, \"tail\"); printf(\"%s%d\", s, 7); printf(\"ab%s\", s);");
  ASSERT_EQ(r.lines.size(), 3u);
  EXPECT_EQ(r.lines[0], std::wstring(511, L'x'));
  EXPECT_EQ(r.lines[1], std::wstring(511, L'x'));
  EXPECT_EQ(r.lines[2], L"ab" + std::wstring(509, L'x'));
}

TEST(VmBuiltinsTest, GlobalsTrueFalseNullAreOrdinaryVariables) {
  const Case cases[] = {
      {L"print(typeof null, \" \", true, false, \" \", typeof true);", L"undefined 10 boolean"},
      {L"null = 5; true = 0; print(null, \" \", true);", L"5 0"},
      {L"var Math = 3; print(Math);", L"3"},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
}

// The function list and the globals in the order the machine made them,
// oldest first, and the properties of the global objects.
TEST(VmBuiltinsTest, RegistrationOrder) {
  VmEngine vm;
  vm.RegisterBuiltins();
  std::vector<std::wstring> functions;
  for (CVMFunction* f = vm.Functions(); f; f = f->next) functions.insert(functions.begin(), f->displayName);
  const std::vector<std::wstring> expectedFunctions = {
      L"Array.push", L"Array.shift", L"Array.join", L"Array.concat", L"Array.splice", L"Array.pop",
      L"Array.unshift", L"Array.slice", L"Array.reverse", L"Array.sort", L"String.fromCharCode",
      L"String.charAt", L"String.charCodeAt", L"String.concat", L"String.indexOf", L"Math.abs", L"Math.acos",
      L"Math.asin", L"Math.atan", L"Math.atan2", L"Math.ceil", L"Math.cos", L"Math.sin", L"Math.sqrt",
      L"Math.tan", L"Math.exp", L"Math.floor", L"Math.log", L"Math.max", L"Math.min", L"Math.pow",
      L"Math.random", L"Math.round", L"console.log", L"console.info", L"parseInt", L"parseFloat", L"time",
      L"sleep", L"console.log", L"console.info"};
  EXPECT_EQ(functions, expectedFunctions);
  for (CVMFunction* f = vm.Functions(); f; f = f->next) EXPECT_EQ(f->entry, -1) << f->displayName;

  std::vector<std::wstring> globals;
  for (VmVariable* v = vm.Globals(); v; v = v->next) globals.insert(globals.begin(), v->name);
  const std::vector<std::wstring> expectedGlobals = {L"String", L"Math",  L"console", L"parseInt",
                                                     L"parseFloat", L"time", L"sleep", L"print",
                                                     L"printf", L"true", L"false", L"null"};
  EXPECT_EQ(globals, expectedGlobals);
  EXPECT_EQ(vm.FindGlobal(L"true")->value.type, VM_BOOLEAN);
  EXPECT_TRUE(vm.FindGlobal(L"true")->value.b);
  EXPECT_FALSE(vm.FindGlobal(L"false")->value.b);
  EXPECT_EQ(vm.FindGlobal(L"null")->value.type, VM_UNDEFINED);
  // print and printf are second instances, not the console's own.
  VmObject* console = vm.FindGlobal(L"console")->value.object;
  EXPECT_NE(vm.FindGlobal(L"print")->value.function, console->FindProperty(L"log")->value.function);
  EXPECT_NE(vm.FindGlobal(L"printf")->value.function, console->FindProperty(L"info")->value.function);

  std::vector<std::wstring> math;
  for (VmVariable* p = vm.FindGlobal(L"Math")->value.object->properties; p; p = p->next)
    math.insert(math.begin(), p->name);
  const std::vector<std::wstring> expectedMath = {
      L"abs", L"acos", L"asin", L"atan", L"atan2", L"ceil", L"cos", L"sin", L"sqrt", L"tan", L"exp", L"floor",
      L"log", L"max", L"min", L"pow", L"random", L"round", L"PI", L"LN10", L"E", L"LN2", L"LOG10E", L"LOG2E",
      L"SQRT1_2", L"SQRT2"};
  EXPECT_EQ(math, expectedMath);
  VmVariable* fromCharCode = vm.FindGlobal(L"String")->value.object->FindProperty(L"fromCharCode");
  ASSERT_NE(fromCharCode, nullptr);
  EXPECT_EQ(fromCharCode->value.function, vm.FindFunction(L"String", L"fromCharCode"));
}

// Starting again frees the previous run's built-ins: nothing is left over.
TEST(VmBuiltinsTest, RegisteringAgainLeavesNothingBehind) {
  VmLiveCounts before = g_vmLiveCounts;
  {
    VmEngine vm;
    vm.RegisterBuiltins();
    VmLiveCounts once = g_vmLiveCounts;
    vm.RegisterBuiltins();
    EXPECT_EQ(g_vmLiveCounts.functions, once.functions);
    EXPECT_EQ(g_vmLiveCounts.objects, once.objects);
    EXPECT_EQ(g_vmLiveCounts.variables, once.variables);
    EXPECT_EQ(g_vmLiveCounts.functions - before.functions, 41);
    EXPECT_EQ(g_vmLiveCounts.objects - before.objects, 3);
  }
  EXPECT_EQ(g_vmLiveCounts.functions, before.functions);
  EXPECT_EQ(g_vmLiveCounts.objects, before.objects);
  EXPECT_EQ(g_vmLiveCounts.variables, before.variables);
  EXPECT_EQ(g_vmLiveCounts.arrays, before.arrays);
  EXPECT_EQ(g_vmLiveCounts.texts, before.texts);
}

// Built-ins that return new arrays leave no array behind once the script
// drops them, and the array methods keep the counts of shared items right.
TEST(VmBuiltinsTest, ReturnedArraysAreFreed) {
  vmtest::VmMachine m;
  VmLiveCounts before = g_vmLiveCounts;
  VmRunResult r = RunVmScript(
      L"var keep = [[\"1\"], [\"2\"]];\n"
      L"for (var i = 0; i < 50; i++) { var c = keep.concat([\"3\"]); var s = keep.slice(0); var x = c.splice(0, 2); }\n"
      L"c = 0; s = 0; x = 0; print(keep.length, keep[0][0], keep[1][0]);");
  EXPECT_EQ(Joined(r), L"212");
  EXPECT_EQ(g_vmLiveCounts.arrays, before.arrays);
  EXPECT_EQ(g_vmLiveCounts.texts, before.texts);
}

}  // namespace
