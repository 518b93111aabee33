// The compiler: tokens, the byte code of expressions and statements, every
// compile error with its position, large sources, and scripts run end to end
// against their expected log.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/buffer_failure_scope.h"
#include "runner/vm_runner.h"
#include "script/compiler/vm_compiler.h"
#include "script/compiler/vm_disassembler.h"
#include "script/compiler/vm_error_sink.h"
#include "script/machine/vm_function_record.h"
#include "support/test_support.h"
#include "script/vm_fixture.h"

namespace {

using vmtest::VmAsm;

class RecordingSink : public VmErrorSink {
public:
  void ReportError(int position, const wchar_t* message) override {
    reports.push_back(std::wstring(message) + L" @ " + std::to_wstring(position));
  }
  std::vector<std::wstring> reports;
};

struct Token {
  int kind;
  std::wstring text;
  bool operator==(const Token& o) const { return kind == o.kind && text == o.text; }
};

std::vector<Token> Tokens(const std::wstring& source) {
  VmCompiler c;
  RecordingSink sink;
  c.SetErrorSink(&sink);
  std::vector<Token> out;
  // The lexer works on the compiler's source: compile the text (errors are
  // of no interest) and read it again from position 0.
  c.Compile(source.c_str(), static_cast<int>(source.size()));
  int p = 0;
  while (c.ReadToken(&p)) out.push_back({c.GetTokenKind(), c.GetTokenText()});
  return out;
}

void PrintTo(const Token& t, std::ostream* os) {
  *os << t.kind << ":";
  for (wchar_t c : t.text) *os << (c < 128 ? static_cast<char>(c) : '?');
}

TEST(VmLexer, TokenTable) {
  const int I = VM_TOKEN_IDENTIFIER, P = VM_TOKEN_PUNCT, S = VM_TOKEN_STRING, N = VM_TOKEN_INTEGER,
            H = VM_TOKEN_HEX, R = VM_TOKEN_REAL, U = VM_TOKEN_UNKNOWN;
  struct Case {
    std::wstring source;
    std::vector<Token> tokens;
  } cases[] = {
      {L"a!=b", {{I, L"a"}, {P, L"!="}, {I, L"b"}}},
      {L"a!==b", {{I, L"a"}, {P, L"!=="}, {I, L"b"}}},
      {L"a===b", {{I, L"a"}, {P, L"==="}, {I, L"b"}}},
      {L"x>>>=1", {{I, L"x"}, {P, L">>>"}, {P, L"="}, {N, L"1"}}},
      {L"x>>=1", {{I, L"x"}, {P, L">>="}, {N, L"1"}}},
      {L"a<>b", {{I, L"a"}, {P, L"<>"}, {I, L"b"}}},
      {L"a<<=b", {{I, L"a"}, {P, L"<<="}, {I, L"b"}}},
      {L"a<>=b", {{I, L"a"}, {P, L"<>="}, {I, L"b"}}},
      {L"1e-3 2.5E+10 1e 1.2.3", {{R, L"1e-3"}, {R, L"2.5E+10"}, {R, L"1e"}, {R, L"1.2.3"}}},
      {L"12abc", {{N, L"12"}, {I, L"abc"}}},
      {L".5", {{P, L"."}, {N, L"5"}}},
      {L"0x123456789", {{H, L"12345678"}, {N, L"9"}}},
      {L"5x1F 0X1F", {{H, L"1F"}, {N, L"0"}, {I, L"X1F"}}},
      {L"0x 0xg", {{H, L""}, {H, L""}, {I, L"g"}}},
      {L"'it\\'s' \"\\q\" \"a\\tb\\n\\r\"", {{S, L"it's"}, {S, L"q"}, {S, L"a\tb\n\r"}}},
      {L"'say \"hi\"' \"(\" \"a\\\\b\"", {{S, L"say \"hi\""}, {S, L"("}, {S, L"a\\b"}}},
      {L"\"line\nfeed\"", {{S, L"line\nfeed"}}},
      {L"/* c */ a // x\n b /* open", {{I, L"a"}, {I, L"b"}}},
      {L"a // end", {{I, L"a"}}},
      {L"x/y/=2", {{I, L"x"}, {P, L"/"}, {I, L"y"}, {P, L"/="}, {N, L"2"}}},
      {L"переменная1 = ёлка_2", {{I, L"переменная1"}, {P, L"="}, {I, L"ёлка_2"}}},
      {L"Ёлка", {{U, L"Ё"}, {I, L"лка"}}},
      {L"# @ $ ` \\", {{U, L"#"}, {U, L"@"}, {U, L"$"}, {U, L"`"}, {U, L"\\"}}},
      {L"+= ++ -- -= && &= || |= *= %= ^= == = ! ~ ? : ; , . ( ) [ ] { } < > <= >=",
       {{P, L"+="}, {P, L"++"}, {P, L"--"}, {P, L"-="}, {P, L"&&"}, {P, L"&="}, {P, L"||"}, {P, L"|="},
        {P, L"*="}, {P, L"%="}, {P, L"^="}, {P, L"=="}, {P, L"="}, {P, L"!"}, {P, L"~"}, {P, L"?"},
        {P, L":"}, {P, L";"}, {P, L","}, {P, L"."}, {P, L"("}, {P, L")"}, {P, L"["}, {P, L"]"},
        {P, L"{"}, {P, L"}"}, {P, L"<"}, {P, L">"}, {P, L"<="}, {P, L">="}}},
      {L"\"abc", {{S, L"abc"}}},
      {L"\"abc\\", {{S, L"abc"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.source), c.tokens) << "case: " << c.tokens.size();
}

TEST(VmLexer, LongTokensAreCut) {
  std::wstring text(5000, L'ж');
  std::vector<Token> t = Tokens(L"'" + text + L"' next");
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].text, text.substr(0, 4095));
  EXPECT_EQ(t[1].text, L"next");
  std::wstring name(5000, L'a');
  t = Tokens(name);
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].text.size(), 4095u);
  EXPECT_EQ(t[1].text.size(), 905u);
  std::wstring digits(5000, L'7');
  t = Tokens(digits + L" x");
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].kind, VM_TOKEN_INTEGER);
  EXPECT_EQ(t[0].text.size(), 4095u);
}

TEST(VmLexer, PositionsAndLines) {
  VmCompiler c;
  RecordingSink sink;
  c.SetErrorSink(&sink);
  const wchar_t* source = L"ab  cd\r\nef\ngh";
  c.Compile(source);
  int p = 0;
  ASSERT_TRUE(c.ReadToken(&p));
  EXPECT_EQ(c.GetTokenStart(), 0);
  EXPECT_EQ(p, 4);  // past the blanks after the token
  ASSERT_TRUE(c.ReadToken(&p));
  EXPECT_EQ(c.GetTokenStart(), 4);
  EXPECT_EQ(p, 8);
  EXPECT_EQ(c.GetLineAt(0), 1);
  EXPECT_EQ(c.GetLineAt(7), 1);  // the line feed itself
  EXPECT_EQ(c.GetLineAt(8), 2);  // just after it
  EXPECT_EQ(c.GetLineAt(11), 3);
  EXPECT_EQ(c.GetLineAt(1000), 3);
  int q = 0;
  c.SkipBlanks(&q);
  EXPECT_EQ(q, 0);
  q = 2;
  c.SkipBlanks(&q);
  EXPECT_EQ(q, 4);
  p = 11;
  ASSERT_TRUE(c.ReadToken(&p));
  EXPECT_FALSE(c.ReadToken(&p));
  EXPECT_EQ(p, 13);
  EXPECT_STREQ(c.GetTokenText(), L"");
}

// The code of a source compared with code assembled by hand.
void ExpectCode(const std::wstring& source, const VmAsm& expected) {
  VmCompiler c;
  RecordingSink sink;
  c.SetErrorSink(&sink);
  ASSERT_TRUE(c.Compile(source.c_str())) << (sink.reports.empty() ? "" : "error");
  std::vector<uint8_t> actual(c.GetCode(), c.GetCode() + c.GetCodeSize());
  EXPECT_TRUE(velktest::BytesEqual(actual, expected.Bytes())) << "source: " << std::string(source.begin(), source.end());
  if (actual != expected.Bytes()) {
    std::wstring got = DisassembleVmCode(actual.data(), static_cast<int>(actual.size()));
    std::wstring want = DisassembleVmCode(expected.code.Bytes(), expected.code.Size());
    ADD_FAILURE() << std::string(got.begin(), got.end()) << "---- expected\n" << std::string(want.begin(), want.end());
  }
}

TEST(VmCompilerCode, EmptySourceIsOneReturn) {
  VmAsm a;
  a.Return();
  ExpectCode(L"", a);
  ExpectCode(L"  // nothing\n", a);
  ExpectCode(L"}", a);  // a stray "}" at top level
}

TEST(VmCompilerCode, FunctionLayout) {
  VmAsm a;
  int entry = a.Define(L"f", {L"a", L"b"});
  a.Line(1).Var(L"x", 1).PushInt(1).PushInt(2).Var(L"f").Load().Call(2).Store(1).Return();
  a.PatchTo(entry, a.Here());
  a.Line(1).Var(L"a").Load().Var(L"b").Load().Op(OP_ADD).Return();
  a.PushUndefined().Return();
  ExpectCode(L"function f(a, b) { return a + b; } x = f(1, 2);", a);
}

TEST(VmCompilerCode, TwoDeclarationsNewestFirst) {
  VmAsm a;
  int second = a.Define(L"g", {});
  int first = a.Define(L"f", {});
  a.Return();
  a.PatchTo(second, a.Here());
  a.Line(2).PushInt(2).Return().PushUndefined().Return();
  a.PatchTo(first, a.Here());
  a.Line(1).PushInt(1).Return().PushUndefined().Return();
  ExpectCode(L"function f() { return 1; }\nfunction g() { return 2; }", a);
}

TEST(VmCompilerCode, Expressions) {
  struct Case {
    const wchar_t* source;
    std::function<void(VmAsm&)> code;
  } cases[] = {
      {L"i++;", [](VmAsm& a) { a.Var(L"i").Op(OP_DUP).Load().PushInt(1).Op(OP_ADD).Store(1); }},
      {L"++i;", [](VmAsm& a) { a.Var(L"i").Op(OP_DUP).Load().PushInt(1).Op(OP_ADD).Store(1); }},
      {L"y = i++;",
       [](VmAsm& a) {
         a.Var(L"y", 1).Var(L"i").Op(OP_DUP).Load().PushInt(1).Op(OP_ADD).Store(0).PushInt(1).Op(OP_SUB).Store(1);
       }},
      {L"y = --i;", [](VmAsm& a) { a.Var(L"y", 1).Var(L"i").Op(OP_DUP).Load().PushInt(1).Op(OP_SUB).Store(0).Store(1); }},
      {L"a.b(1);", [](VmAsm& a) { a.PushInt(1).Var(L"a").Field(L"b").Load().Call(1).Op(OP_POP); }},
      {L"o.p = 1;", [](VmAsm& a) { a.Var(L"o").Field(L"p", 1).PushInt(1).Store(1); }},
      {L"a[10] = 1;", [](VmAsm& a) { a.Var(L"a").PushInt(10).Index(1).PushInt(1).Store(1); }},
      {L"x = o.p;", [](VmAsm& a) { a.Var(L"x", 1).Var(L"o").Field(L"p").Load().Store(1); }},
      {L"x = a[i][j];",
       [](VmAsm& a) { a.Var(L"x", 1).Var(L"a").Var(L"i").Load().Index(0).Var(L"j").Load().Index(0).Load().Store(1); }},
      {L"x = a - b - d;",
       [](VmAsm& a) {
         a.Var(L"x", 1).Var(L"a").Load().Var(L"b").Load().Op(OP_SUB).Var(L"d").Load().Op(OP_SUB).Store(1);
       }},
      {L"x = 2 + 3 * 4;",
       [](VmAsm& a) { a.Var(L"x", 1).PushInt(2).PushInt(3).PushInt(4).Op(OP_MUL).Op(OP_ADD).Store(1); }},
      {L"x = (2 + 3) * 4;",
       [](VmAsm& a) { a.Var(L"x", 1).PushInt(2).PushInt(3).Op(OP_ADD).PushInt(4).Op(OP_MUL).Store(1); }},
      {L"y = x instanceof Array;", [](VmAsm& a) { a.Var(L"y", 1).Var(L"x").Load().Op(OP_INSTANCEOF).Byte(5).Store(1); }},
      {L"x = [];", [](VmAsm& a) { a.Var(L"x", 1).NewArray(0).Store(1); }},
      {L"x = [1, 2, 3];", [](VmAsm& a) { a.Var(L"x", 1).PushInt(1).PushInt(2).PushInt(3).NewArray(3).Store(1); }},
      {L"x = new Array(5);", [](VmAsm& a) { a.Var(L"x", 1).PushInt(5).NewArray(1).Store(1); }},
      {L"x = new Array;", [](VmAsm& a) { a.Var(L"x", 1).NewArray(0).Store(1); }},
      {L"x = new Object(1, 2);", [](VmAsm& a) { a.Var(L"x", 1).Op(OP_NEW_OBJECT).Store(1); }},
      {L"delete o.p;", [](VmAsm& a) { a.Var(L"o").Field(L"p").Op(OP_DELETE).Op(OP_POP); }},
      {L"x = -2147483648;", [](VmAsm& a) { a.Var(L"x", 1).PushInt(2147483647).Op(OP_NEG).Store(1); }},
      {L"x = 0xFFFFFFFF + 1.5 + 'é';",
       [](VmAsm& a) { a.Var(L"x", 1).PushInt(-1).PushDouble(1.5).Op(OP_ADD).PushString(L"é").Op(OP_ADD).Store(1); }},
      {L"x += 2;", [](VmAsm& a) { a.Var(L"x", 1).Op(OP_DUP).Load().PushInt(2).Op(OP_ADD).Store(1); }},
      {L"x >>= 2;", [](VmAsm& a) { a.Var(L"x", 1).Op(OP_DUP).Load().PushInt(2).Op(OP_SHR).Store(1); }},
      {L"x = typeof y;", [](VmAsm& a) { a.Var(L"x", 1).Var(L"y").Load().Op(OP_TYPEOF).Store(1); }},
      {L"x = !!y;", [](VmAsm& a) { a.Var(L"x", 1).Var(L"y").Load().Op(OP_NOT).Op(OP_NOT).Store(1); }},
      {L"x = -~y;", [](VmAsm& a) { a.Var(L"x", 1).Var(L"y").Load().Op(OP_BIT_NOT).Op(OP_NEG).Store(1); }},
      {L"x = f()(1);", [](VmAsm& a) { a.Var(L"x", 1).PushInt(1).Var(L"f").Load().Call(0).Call(1).Store(1); }},
      {L"x = f([1, 2], 3);",
       [](VmAsm& a) { a.Var(L"x", 1).PushInt(1).PushInt(2).NewArray(2).PushInt(3).Var(L"f").Load().Call(2).Store(1); }},
      {L"x = [g(1, 2)];",
       [](VmAsm& a) { a.Var(L"x", 1).PushInt(1).PushInt(2).Var(L"g").Load().Call(2).NewArray(1).Store(1); }},
      {L"x = this;", [](VmAsm& a) { a.Var(L"x", 1).Var(L"this").Load().Store(1); }},
      {L"a + 1;", [](VmAsm&) {}},
      {L"x;", [](VmAsm&) {}},
      {L"a + f();", [](VmAsm& a) { a.Var(L"f").Load().Call(0).Op(OP_POP); }},
      {L"-f();", [](VmAsm& a) { a.Var(L"f").Load().Call(0).Op(OP_POP); }},
      {L"x, y = 1;", [](VmAsm& a) { a.Var(L"y", 1).PushInt(1).Store(1); }},
      {L"x = (a, b);", [](VmAsm& a) { a.Var(L"x", 1).Var(L"b").Load().Store(1); }},
      {L"var x;", [](VmAsm& a) { a.Var(L"x", 2).Op(OP_POP); }},
      {L"var x = 1;", [](VmAsm& a) { a.Var(L"x", 2).PushInt(1).Store(1); }},
      {L"var a, b = 2;", [](VmAsm& a) { a.Var(L"a", 2).Op(OP_POP).Var(L"b", 2).PushInt(2).Store(1); }},
  };
  for (const Case& c : cases) {
    VmAsm a;
    a.Line(1);
    c.code(a);
    a.Return();
    ExpectCode(c.source, a);
  }
}

TEST(VmCompilerCode, ShortCircuitAndConditional) {
  {
    VmAsm a;
    a.Line(1).Var(L"x", 1).Var(L"f").Load().Call(0).Op(OP_NOT);
    int t1 = a.OpenJump(OP_JUMP_IF_FALSE);
    a.Var(L"g").Load().Call(0).Op(OP_NOT);
    int t2 = a.OpenJump(OP_JUMP_IF_FALSE);
    a.PushBool(false);
    int over = a.OpenJump(OP_JUMP);
    a.Patch(t1);
    a.Patch(t2);
    a.PushBool(true);
    a.Patch(over);
    a.Store(1).Return();
    ExpectCode(L"x = f() || g();", a);
  }
  {
    VmAsm a;
    a.Line(1).Var(L"f").Load().Call(0);
    int end = a.OpenJump(OP_JUMP_IF_FALSE);
    a.Var(L"g").Load().Call(0).Op(OP_POP);
    a.Patch(end);
    a.Return();
    ExpectCode(L"f() && g();", a);
  }
  {  // p ? q : r ? s : t is p ? q : (r ? s : t)
    VmAsm a;
    a.Line(1).Var(L"x", 1).Var(L"p").Load();
    int f1 = a.OpenJump(OP_JUMP_IF_FALSE);
    a.Var(L"q").Load();
    int e1 = a.OpenJump(OP_JUMP);
    a.Patch(f1);
    a.Var(L"r").Load();
    int f2 = a.OpenJump(OP_JUMP_IF_FALSE);
    a.Var(L"s").Load();
    int e2 = a.OpenJump(OP_JUMP);
    a.Patch(f2);
    a.Var(L"t").Load();
    a.Patch(e2);
    a.Patch(e1);
    a.Store(1).Return();
    ExpectCode(L"x = p ? q : r ? s : t;", a);
  }
}

TEST(VmCompilerCode, Statements) {
  {  // while, with its exit as a pending break
    VmAsm a;
    int top = a.Here();
    a.Line(1).Var(L"i").Load();
    int exit = a.OpenJump(OP_JUMP_IF_FALSE);
    a.Line(1).Var(L"i").Op(OP_DUP).Load().PushInt(1).Op(OP_SUB).Store(1).Jump(top);
    a.Patch(exit);
    a.Return();
    ExpectCode(L"while (i) i--;", a);
  }
  {  // continue in a do-while goes to the condition
    VmAsm a;
    int top = a.Here();
    a.Line(1);
    int cont = a.OpenJump(OP_JUMP);
    a.Patch(cont);
    a.Line(1).Var(L"false").Load().Op(OP_NOT).JumpIfFalse(top).Return();
    ExpectCode(L"do { continue; } while (false);", a);
  }
  {  // for: init, jump to the condition, update, condition, body
    VmAsm a;
    a.Line(1).Var(L"i", 2).PushInt(0).Store(1);
    int toCondition = a.OpenJump(OP_JUMP);
    int update = a.Here();
    a.Line(1).Var(L"i").Op(OP_DUP).Load().PushInt(1).Op(OP_ADD).Store(1);
    a.Patch(toCondition);
    a.Line(1).Var(L"i").Load().PushInt(3).Op(OP_LT);
    int exit = a.OpenJump(OP_JUMP_IF_FALSE);
    a.Line(2).Var(L"f").Load().Call(0).Op(OP_POP).Jump(update);
    a.Patch(exit);
    a.Return();
    ExpectCode(L"for (var i = 0; i < 3; i++)\n  f();", a);
  }
  {  // if / else
    VmAsm a;
    a.Line(1).Var(L"x").Load();
    int toElse = a.OpenJump(OP_JUMP_IF_FALSE);
    a.Line(1).Var(L"a").Load().Call(0).Op(OP_POP);
    int toEnd = a.OpenJump(OP_JUMP);
    a.Patch(toElse);
    a.Line(2).Var(L"b").Load().Call(0).Op(OP_POP);
    a.Patch(toEnd);
    a.Return();
    ExpectCode(L"if (x) { a(); }\nelse b();", a);
  }
  {  // break out of a with ends the with first
    VmAsm a;
    int top = a.Here();
    a.Line(1).PushInt(1);
    int exit = a.OpenJump(OP_JUMP_IF_FALSE);
    a.Line(1).Var(L"o").Op(OP_WITH_BEGIN).Line(1).Op(OP_WITH_END);
    int brk = a.OpenJump(OP_JUMP);
    a.Op(OP_WITH_END).Jump(top);
    a.Patch(exit);
    a.Patch(brk);
    a.Return();
    ExpectCode(L"while (1) { with (o) { break; } }", a);
  }
  {  // switch with a default
    VmAsm a;
    a.Line(1).Var(L"k").Load();
    int open = a.OpenJump(OP_JUMP);
    a.Patch(open);
    a.Op(OP_DUP).PushInt(1).Op(OP_EQ);
    int test = a.OpenJump(OP_JUMP_IF_FALSE);
    a.Line(1).Var(L"a").Load().Call(0).Op(OP_POP);
    int entry = a.Here();
    a.Line(1).Var(L"b").Load().Call(0).Op(OP_POP);
    int over = a.OpenJump(OP_JUMP);
    a.Patch(test);
    a.Jump(entry);
    a.Patch(over);
    a.Op(OP_POP).Return();
    ExpectCode(L"switch (k) { case 1: a(); default: b(); }", a);
  }
  {  // return with and without a value
    VmAsm a;
    a.Line(1).PushInt(1).Return().Line(1).PushUndefined().Return().Return();
    ExpectCode(L"return 1; return;", a);
  }
}

struct ErrorCase {
  std::wstring source;
  std::wstring report;  // "message @ position"
};

void ExpectError(const ErrorCase& c) {
  VmCompiler compiler;
  RecordingSink sink;
  compiler.SetErrorSink(&sink);
  EXPECT_FALSE(compiler.Compile(c.source.c_str())) << std::string(c.report.begin(), c.report.end());
  ASSERT_EQ(sink.reports.size(), 1u);
  EXPECT_EQ(sink.reports[0], c.report) << "source: " << std::string(c.source.begin(), c.source.end());
  EXPECT_EQ(std::to_wstring(compiler.GetErrorPosition()), c.report.substr(c.report.rfind(L' ') + 1));
}

TEST(VmCompilerErrors, Statements) {
  const ErrorCase cases[] = {
      {L";", L"Ожидается оператор или выражение. @ 0"},
      {L"5;", L"Ожидается оператор или выражение. @ 0"},
      {L"if (x) { };", L"Ожидается оператор или выражение. @ 10"},
      {L"if x", L"Ожидается \"(\". @ 3"},
      {L"while x", L"Ожидается \"(\". @ 6"},
      {L"else x;", L"Найден else, но не найден if. @ 0"},
      {L"do x(); y", L"Ожидается while @ 8"},
      {L"do x(); while x", L"Ожидается \"(\". @ 14"},
      {L"do x(); while (1) y", L"Ожидается \";\". @ 18"},
      {L"for (a; b) x;", L"Ожидается \";\". @ 9"},
      {L"for (x in o) x;", L"Ожидается \";\". @ 11"},
      {L"for (;;) x;", L"Ожидается конец выражения @ 5"},
      {L"while (1) { break x; }", L"Ожидается \";\". @ 18"},
      {L"break;", L"Найден break, но цикл не обнаружен. @ 0"},
      {L"continue;", L"Найден continue, но цикл не обнаружен. @ 0"},
      {L"while (1) switch (1) { case 1: continue; }", L"Найден continue, но цикл не обнаружен. @ 31"},
      {L"case 1:", L"Обнаружен case, но не обнаружен switch. @ 0"},
      {L"default:", L"Обнаружен default, но не обнаружен switch. @ 0"},
      {L"switch (1) x", L"Ожидается \"{\". @ 11"},
      {L"switch (1) { x(); }", L"Ожидается case или default. @ 13"},
      {L"switch (1) { default x }", L"Ожидается \":\". @ 21"},
      {L"switch (1) { case : x(); }", L"Ожидается выражение @ 18"},
      {L"switch (1) { case 1: x();", L"Ожидается \"}\". @ 25"},
      {L"function (a) {}", L"Ожидается название функции @ 9"},
      {L"function f a", L"Ожидается \"(\". @ 11"},
      {L"function f(1) {}", L"Ожидается аргумент функции @ 11"},
      {L"function f(a", L"Ожидается конец файла @ 12"},
      {L"function f(a b) {}", L"Ожидается \",\" или \")\". @ 13"},
      {L"function f(a) x", L"Ожидается \"{\". @ 14"},
      {L"function f(", L"Ожидается \"{\". @ 11"},
      {L"if (1) { function g x }", L"Ожидается \"(\". @ 20"},
  };
  for (const ErrorCase& c : cases) ExpectError(c);
  std::wstring many = L"function f(";
  for (int i = 0; i < 256; ++i) many += (i ? L", a" : L"a") + std::to_wstring(i);
  int position = static_cast<int>(many.rfind(L"a255"));
  ExpectError({many + L") {}", L"Слишком много аргументов у функции @ " + std::to_wstring(position)});
}

TEST(VmCompilerErrors, Expressions) {
  const ErrorCase cases[] = {
      {L"x = * 2;", L"Ожидается операнд, а найдено \"*\". @ 4"},
      {L"x = ? 2 : 3;", L"Ожидается операнд, а найдено \"?\". @ 4"},
      {L"x = .a;", L"Ожидается операнд, а найдена \".\". @ 4"},
      {L"x = (1 + );", L"Ожидается операнд, а найдена \")\". @ 9"},
      {L"x = , 1;", L"Ожидается операнд, а найдена \",\". @ 4"},
      {L"x = instanceof Array;", L"Ожидается операнд, а найдено \"instanceof\". @ 4"},
      {L"x = a !b;", L"Ожидается операция, а найдено \"!\". @ 6"},
      {L"x = a ~b;", L"Ожидается операция, а найдено \"~\". @ 6"},
      {L"x = a typeof b;", L"Ожидается операция, а найдена \"typeof\". @ 6"},
      {L"x = a new Array;", L"Ожидается операция, а найдена \"new\". @ 6"},
      {L"x = a delete b;", L"Ожидается операция, а найдена \"delete\". @ 6"},
      {L"x = if;", L"Обнаружено использование ключевого слова в качестве идентификатора @ 4"},
      {L"x = 1 y = 2;", L"Ожидается операция, а обнаружен индентификатор @ 6"},
      {L"x = a 5;", L"Ожидается операция, а обнаружена константа @ 6"},
      {L"x = ;", L"Ожидается конец выражения @ 4"},
      {L"x = a +;", L"Ожидается конец выражения @ 7"},
      {L"(\"s\") = 1;", L"Требуется объект, а обнаружена константа @ 1"},
      {L"a = b = d;", L"Требуется объект, а найдено выражение. @ 0"},
      {L"x + 1 = 2;", L"Требуется объект, а найдено выражение. @ 0"},
      {L"x = y instanceof Date;", L"\"Date\" не является объектом @ 17"},
      {L"x = y instanceof 5;", L"Требуется тип данных @ 18"},
      {L"x = new Date;", L"Невозможно создать объект данного типа @ 4"},
      {L"x = new 5;", L"Требуется тип данных @ 8"},
      {L"x = new Array(1, , 3);", L"Ожидается аргумент @ 17"},
      {L"f(1, , 3);", L"Ожидается аргумент функции @ 5"},
      {L"f(1, );", L"Ожидается аргумент функции @ 5"},
      {L"x = [1, , 3];", L"Ожидается элемент массива @ 8"},
      {L"x = o.5;", L"Требуется свойство или метод. @ 6"},
      {L"x = f().y;", L"Требуется объект, а найдено выражение. @ 7"},
      {L"x = f()[0];", L"Требуется объект, а найдено выражение. @ 7"},
      {L"x = [1].length;", L"Требуется объект, а найдено выражение. @ 7"},
      {L"x = a ? b;", L"Ожидается \":\". @ 9"},
      {L"x = a : b;", L"Найдено \":\", но не найдено \"?\". @ 6"},
      {L"x = #;", L"Недопустимый символ \"#\" @ 4"},
      {L"x = (1;", L"Ожидается \")\". @ 6"},
      {L"x = 1);", L"Обнаружена лишняя \")\". @ 5"},
      {L"x = f(1;", L"Ожидается \")\". @ 7"},
      {L"x = a[1;", L"Ожидается \"]\". @ 7"},
      {L"x = 1 ];", L"Ожидается конец выражения @ 6"},
      {L"x = { };", L"Ожидается конец выражения @ 4"},
      {L"++5;", L"Требуется объект, а обнаружена константа @ 2"},
      {L"x = 1 <>= 2;", L"Ожидается конец выражения @ 6"},
  };
  for (const ErrorCase& c : cases) ExpectError(c);
}

TEST(VmCompilerErrors, NestingLimits) {
  std::wstring deep = L"x = ";
  for (int i = 0; i < 1000; ++i) deep += L"-(";
  deep += L"1";
  for (int i = 0; i < 1000; ++i) deep += L")";
  deep += L";";
  VmCompiler c;
  RecordingSink sink;
  c.SetErrorSink(&sink);
  EXPECT_FALSE(c.Compile(deep.c_str()));
  ASSERT_EQ(sink.reports.size(), 1u);
  EXPECT_EQ(sink.reports[0].find(L"Слишком сложное выражение @ "), 0u);
  std::wstring blocks(1000, L'{');
  blocks += std::wstring(1000, L'}');
  sink.reports.clear();
  EXPECT_FALSE(c.Compile(blocks.c_str()));
  ASSERT_EQ(sink.reports.size(), 1u);
  EXPECT_EQ(sink.reports[0].find(L"Слишком глубокая вложенность операторов @ "), 0u);
  // Parentheses alone nest without limit: they are taken off in a loop.
  std::wstring parens = L"x = " + std::wstring(1000, L'(') + L"7" + std::wstring(1000, L')') + L";";
  EXPECT_TRUE(c.Compile(parens.c_str()));
}

TEST(VmCompilerErrors, TheDefaultSinkShowsAMessageBox) {
  velktest::DialogAnswerer answer(IDOK);
  VmCompiler c;
  EXPECT_FALSE(c.Compile(L"x = ;"));
  ASSERT_EQ(answer.Count(), 1);
  EXPECT_EQ(answer.Captions()[0], L"Ошибка");
  EXPECT_NE(answer.Texts()[0].find(L"Ожидается конец выражения"), std::wstring::npos);
  EXPECT_EQ(c.GetErrorPosition(), 4);
}

TEST(VmCompiler, StateDoesNotCarryOverAFailedCompilation) {
  VmCompiler c;
  RecordingSink sink;
  c.SetErrorSink(&sink);
  EXPECT_FALSE(c.Compile(L"while (1) { x = ; }"));
  EXPECT_FALSE(c.Compile(L"continue;"));
  ASSERT_EQ(sink.reports.size(), 2u);
  EXPECT_EQ(sink.reports[1], L"Найден continue, но цикл не обнаружен. @ 0");
  EXPECT_TRUE(c.Compile(L"function f(a) { return a; }"));
  ASSERT_NE(c.GetFunctions(), nullptr);
  EXPECT_STREQ(c.GetFunctions()->name, L"f");
  EXPECT_EQ(c.GetFunctions()->argumentCount, 1);
  EXPECT_EQ(c.GetFunctions()->bodyStart, 14);
  c.Reset();
  EXPECT_EQ(c.GetFunctions(), nullptr);
  EXPECT_EQ(c.GetCodeSize(), 0);
}

TEST(VmCompiler, LargeSourcesCompile) {
  std::wstring big;
  for (int i = 0; i < 500; ++i) {
    std::wstring n = std::to_wstring(i);
    big += L"function f" + n + L"(a, b) {\n";
    big += L"  var s = 0;\n";
    big += L"  for (var i = 0; i < a; i++) { s = s + i * b; }\n";
    big += L"  return s;\n";
    big += L"}\n";
    big += L"total = (typeof total == 'number' ? total : 0) + f" + n + L"(3, " + n + L");\n";
  }
  VmRunResult r = RunVmScript(big + L"print(total);");
  ASSERT_TRUE(r.compiled) << std::string(r.error.begin(), r.error.end()) << " line " << r.errorLine;
  ASSERT_EQ(r.lines.size(), 1u);
  long long total = 0;
  for (int i = 0; i < 500; ++i) total += 3LL * i;  // (0 + 1 + 2) * i
  EXPECT_EQ(r.lines[0], std::to_wstring(total));
  std::wstring chain = L"x = 1";
  for (int i = 0; i < 1000; ++i) chain += (i % 2) ? L" - 1" : L" + 2";
  r = RunVmScript(chain + L";\nprint(x);");
  ASSERT_TRUE(r.compiled);
  ASSERT_EQ(r.lines.size(), 1u);
  EXPECT_EQ(r.lines[0], L"501");
}

// Every ".js" fixture beside the test program runs to the end and logs
// exactly the lines of its ".out" file.
TEST(VmScripts, FixturesLogTheirExpectedLines) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe);
  folder = folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"script_fixtures\\";
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"*.js").c_str(), &found);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  int count = 0;
  do {
    std::wstring name = found.cFileName;
    std::wstring source, expected;
    ASSERT_TRUE(ReadVmScriptFile(folder + name, &source));
    ASSERT_TRUE(ReadVmScriptFile(folder + name.substr(0, name.size() - 3) + L".out", &expected));
    VmRunResult r = RunVmScript(source);
    ASSERT_TRUE(r.compiled) << std::string(r.error.begin(), r.error.end()) << " line " << r.errorLine;
    EXPECT_TRUE(r.finished);
    std::wstring actual;
    for (const std::wstring& line : r.lines) actual += line + L"\n";
    EXPECT_EQ(actual, expected) << "fixture " << std::string(name.begin(), name.end());
    ++count;
  } while (FindNextFileW(h, &found));
  FindClose(h);
  EXPECT_GE(count, 5);
}

}  // namespace

namespace {

// Random token soup: every source compiles or fails with one message, and
// what compiles runs a few slices; nothing crashes or hangs.
TEST(VmCompiler, RandomSourcesNeverCrash) {
  const wchar_t* const vocabulary[] = {
      L"a",      L"b",     L"f",        L"o",     L"x",      L"var",    L"function", L"if",     L"else",
      L"while",  L"do",    L"for",      L"break", L"continue", L"return", L"switch", L"case",   L"default",
      L"with",   L"new",   L"typeof",   L"delete", L"instanceof", L"Array", L"Object", L"this", L"\"s\"",
      L"'t'",    L"1",     L"2.5",      L"0x1F",  L"#",      L"(",      L")",       L"[",      L"]",
      L"{",      L"}",     L";",        L",",     L".",      L":",      L"?",       L"=",      L"+=",
      L"+",      L"-",     L"*",        L"/",     L"%",      L"++",     L"--",      L"!",      L"~",
      L"&&",     L"||",    L"==",       L"!=",    L"===",    L"<",      L">=",      L"<<",     L">>>",
      L"&",      L"|",     L"^",        L"/*",    L"//",     L"\n",
  };
  const int n = sizeof vocabulary / sizeof vocabulary[0];
  uint32_t seed = 2024;
  auto next = [&seed]() {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  int compiled = 0;
  for (int program = 0; program < 20000; ++program) {
    std::wstring source;
    int length = 1 + next() % 80;
    for (int k = 0; k < length; ++k) {
      source += vocabulary[next() % n];
      source += L' ';
    }
    VmRunResult r = RunVmScript(source, 20);
    if (r.compiled) ++compiled;
    else ASSERT_FALSE(r.error.empty()) << program;
  }
  EXPECT_GT(compiled, 0);
}

// Every array the compiler grows (line starts, pending breaks and continue
// jumps, the code) may be refused: the compilation then fails with one
// report of the lack of memory and never with wrong code.
TEST(VmCompiler, RefusedMemoryFailsTheCompilationCleanly) {
  // More lines, pending breaks and pending continues than the first room
  // of each.
  std::wstring source = L"do {\n";
  for (int i = 0; i < 20; ++i) source += L"  if (x" + std::to_wstring(i) + L") continue;\n";
  source += L"} while (0);\nwhile (1) {\n";
  for (int i = 0; i < 20; ++i) source += L"  if (y" + std::to_wstring(i) + L") break;\n";
  source += L"}\n";
  for (int i = 0; i < 300; ++i) source += L"z" + std::to_wstring(i) + L" = " + std::to_wstring(i) + L";\n";
  VmCompiler whole;
  RecordingSink sink;
  whole.SetErrorSink(&sink);
  ASSERT_TRUE(whole.Compile(source.c_str()));
  std::vector<unsigned char> expected(whole.GetCode(), whole.GetCode() + whole.GetCodeSize());
  bool refused = false, compiled = false;
  for (int grant = 0; grant < 200 && !compiled; ++grant) {
    VmCompiler c;
    c.SetErrorSink(&sink);
    sink.reports.clear();
    CBufferFailureScope scope(grant);
    compiled = c.Compile(source.c_str());
    if (compiled) {
      EXPECT_EQ(std::vector<unsigned char>(c.GetCode(), c.GetCode() + c.GetCodeSize()), expected) << grant;
      EXPECT_TRUE(sink.reports.empty()) << grant;
    } else {
      refused = true;
      ASSERT_EQ(sink.reports.size(), 1u) << grant;
      EXPECT_EQ(sink.reports[0].find(L"Недостаточно памяти @ "), 0u) << grant;
      EXPECT_GT(scope.GetRefusals(), 0) << grant;
    }
  }
  EXPECT_TRUE(refused);
  EXPECT_TRUE(compiled);
}

}  // namespace
