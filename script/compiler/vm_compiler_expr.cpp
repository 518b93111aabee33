// The expression compiler: a range of source positions is scanned once for
// the operator that binds weakest, and the operands on either side are
// compiled by calling it again on their sub-ranges.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "script/compiler/vm_compiler.h"
#include "script/values/vm_number_text.h"
#include "script/values/vm_value.h"

namespace {

const wchar_t* const kNeedObjectFoundExpression = L"Требуется объект, а найдено выражение.";
const wchar_t* const kNeedObjectFoundConstant = L"Требуется объект, а обнаружена константа";
const wchar_t* const kExpectEnd = L"Ожидается конец выражения";
const wchar_t* const kExpectExpression = L"Ожидается выражение";
const wchar_t* const kNeedType = L"Требуется тип данных";

// Priorities of the operators (the group is the priority / 16).
enum {
  kComma = 0,
  kAssign = 16,
  kQuestion = 32,
  kColon = 33,
  kOr = 48,
  kAnd = 64,
  kInstanceOf = 148,
  kNot = 208,
  kBitNot = 209,
  kNegate = 210,
  kPlus = 211,
  kPostIncrement = 212,
  kPostDecrement = 213,
  kPreIncrement = 214,
  kPreDecrement = 215,
  kTypeOf = 216,
  kDelete = 217,
  kCall = 226,
  kNew = 229,
  kArrayLiteral = 230,
  kIndex = 243,
  kMember = 244,
};

struct InfixOperator {
  const wchar_t* text;
  int priority;
  int opcode;
};

const InfixOperator kInfix[] = {
    {L"=", 16, OP_STORE},        {L"+=", 17, OP_ADD},      {L"-=", 18, OP_SUB},      {L"*=", 19, OP_MUL},
    {L"/=", 20, OP_DIV},         {L"%=", 21, OP_MOD},      {L"<<=", 22, OP_SHL},     {L">>=", 23, OP_SHR},
    {L"&=", 25, OP_BIT_AND},     {L"^=", 26, OP_BIT_XOR},  {L"|=", 27, OP_BIT_OR},   {L"?", 32, 0},
    {L":", 33, 0},               {L"||", 48, OP_OR},       {L"&&", 64, OP_AND},      {L"|", 80, OP_BIT_OR},
    {L"^", 96, OP_BIT_XOR},      {L"&", 112, OP_BIT_AND},  {L"==", 128, OP_EQ},      {L"!=", 129, OP_NE},
    {L"<>", 129, OP_NE},         {L"===", 130, OP_STRICT_EQ}, {L"!==", 131, OP_STRICT_NE}, {L"<", 144, OP_LT},
    {L"<=", 145, OP_LE},         {L">", 146, OP_GT},       {L">=", 147, OP_GE},      {L"<<", 160, OP_SHL},
    {L">>", 161, OP_SHR},        {L">>>", 162, OP_USHR},   {L"*", 192, OP_MUL},      {L"/", 193, OP_DIV},
    {L"%", 194, OP_MOD},
};

const InfixOperator* FindInfix(const wchar_t* text) {
  for (const InfixOperator& op : kInfix)
    if (op.text[0] == text[0] && wcscmp(op.text, text) == 0) return &op;
  return nullptr;
}

int OpcodeOf(int priority) {
  for (const InfixOperator& op : kInfix)
    if (op.priority == priority) return op.opcode;
  if (priority == 176) return OP_ADD;
  if (priority == 177) return OP_SUB;
  return OP_NOP;
}

const wchar_t* const kKeywords[] = {L"var",   L"function", L"if",     L"else", L"do",      L"while",
                                    L"break", L"continue", L"return", L"switch", L"case", L"default"};

bool IsKeyword(const wchar_t* text) {
  for (const wchar_t* k : kKeywords)
    if (k[0] == text[0] && wcscmp(k, text) == 0) return true;
  return false;
}

bool IsPrefix(int priority) {
  return (priority >= kNot && priority <= kPlus) || priority == kPreIncrement || priority == kPreDecrement ||
         priority == kTypeOf || priority == kDelete;
}

int TypeCode(const wchar_t* name) {
  struct Entry {
    const wchar_t* name;
    int code;
  } const table[] = {{L"Boolean", VM_BOOLEAN}, {L"Integer", VM_INTEGER}, {L"Float", VM_NUMBER},
                     {L"Number", VM_NUMBER},   {L"Double", VM_NUMBER},   {L"String", VM_STRING},
                     {L"Array", VM_ARRAY},     {L"Object", VM_OBJECT}};
  for (const Entry& e : table)
    if (wcscmp(e.name, name) == 0) return e.code;
  return -1;
}

}  // namespace

struct VmCompiler::Scan {
  struct Operator {
    unsigned value;  // priority + 256 x depth
    int priority;
    int start;       // where the token begins
    int after;       // the position after the token (after the type name of instanceof)
  };
  std::vector<Operator> operators;
  int best = -1;  // index of the chosen operator
  int firstToken = -1;
};

// From position, just past an opening token, to the position where its
// matching closing token begins; -1 when the range ends first. Only
// punctuation counts.
int VmCompiler::SkipMatching(int position, int end, const wchar_t* open, const wchar_t* close) {
  int nesting = 0;
  int p = position;
  while (ReadToken(&p) && tokenStart_ < end) {
    if (tokenKind_ != VM_TOKEN_PUNCT) continue;
    if (Equals(open)) {
      ++nesting;
    } else if (Equals(close)) {
      if (nesting == 0) return tokenStart_;
      --nesting;
    }
  }
  return -1;
}

bool VmCompiler::ScanRange(int start, int end, Scan* scan) {
  bool operand = false;
  bool blocksMember = false;  // the operand just ended is a call, a new or an array literal
  int depth = 0;
  int p = start;
  auto add = [&](int priority, int tokenStart, int after) {
    scan->operators.push_back({static_cast<unsigned>(priority + 256 * depth), priority, tokenStart, after});
  };
  auto needOperand = [&](const wchar_t* message) {
    if (operand) return true;
    ReportError(tokenStart_, message);
    return false;
  };
  wchar_t message[80];
  while (ReadToken(&p) && tokenStart_ < end) {
    int ts = tokenStart_;
    if (scan->firstToken < 0) scan->firstToken = ts;
    bool wasBlocking = blocksMember;
    blocksMember = false;
    switch (tokenKind_) {
      case VM_TOKEN_IDENTIFIER:
        if (IsKeyword(tokenText_)) {
          ReportError(ts, L"Обнаружено использование ключевого слова в качестве идентификатора");
          return false;
        }
        if (Equals(L"instanceof")) {
          if (!needOperand(L"Ожидается операнд, а найдено \"instanceof\".")) return false;
          int q = p;
          if (ReadToken(&q) && tokenStart_ < end) p = q;  // the type name belongs to the operator
          add(kInstanceOf, ts, p);
          operand = true;
        } else if (Equals(L"typeof") || Equals(L"delete") || Equals(L"new")) {
          if (operand) {
            swprintf(message, 80, L"Ожидается операция, а найдена \"%ls\".", tokenText_);
            ReportError(ts, message);
            return false;
          }
          if (Equals(L"new")) {
            int q = p;
            if (ReadToken(&q) && tokenStart_ < end) {
              p = q;
              int r = q;
              if (ReadToken(&r) && tokenStart_ < end && IsPunct(L"(")) {
                int close = SkipMatching(r, end, L"(", L")");
                if (close < 0) {
                  ReportError(end, L"Ожидается \")\".");
                  return false;
                }
                p = close;
                ReadToken(&p);
              }
            }
            add(kNew, ts, p);
            operand = true;
            blocksMember = true;
          } else {
            add(Equals(L"typeof") ? kTypeOf : kDelete, ts, p);
          }
        } else {
          if (operand) {
            ReportError(ts, L"Ожидается операция, а обнаружен индентификатор");
            return false;
          }
          operand = true;
        }
        break;
      case VM_TOKEN_STRING:
      case VM_TOKEN_INTEGER:
      case VM_TOKEN_HEX:
      case VM_TOKEN_REAL:
        if (operand) {
          ReportError(ts, L"Ожидается операция, а обнаружена константа");
          return false;
        }
        operand = true;
        break;
      case VM_TOKEN_UNKNOWN:
        swprintf(message, 80, L"Недопустимый символ \"%lc\"", tokenText_[0]);
        ReportError(ts, message);
        return false;
      default: {  // punctuation
        if (IsPunct(L"(")) {
          if (operand) {
            int close = SkipMatching(p, end, L"(", L")");
            if (close < 0) {
              ReportError(end, L"Ожидается \")\".");
              return false;
            }
            int after = close;
            ReadToken(&after);
            add(kCall, ts, p);
            p = after;
            blocksMember = true;
          } else {
            ++depth;
          }
        } else if (IsPunct(L")")) {
          if (!needOperand(L"Ожидается операнд, а найдена \")\".")) return false;
          if (--depth < 0) {
            ReportError(ts, L"Обнаружена лишняя \")\".");
            return false;
          }
        } else if (IsPunct(L"[")) {
          bool index = operand;
          if (index && wasBlocking) {
            ReportError(ts, kNeedObjectFoundExpression);
            return false;
          }
          int close = SkipMatching(p, end, L"[", L"]");
          if (close < 0) {
            ReportError(end, L"Ожидается \"]\".");
            return false;
          }
          int after = close;
          ReadToken(&after);
          add(index ? kIndex : kArrayLiteral, ts, p);
          p = after;
          operand = true;
          blocksMember = !index;
        } else if (IsPunct(L".")) {
          if (!needOperand(L"Ожидается операнд, а найдена \".\".")) return false;
          if (wasBlocking) {
            ReportError(ts, kNeedObjectFoundExpression);
            return false;
          }
          add(kMember, ts, p);
          operand = false;
        } else if (IsPunct(L"+") || IsPunct(L"-")) {
          bool minus = IsPunct(L"-");
          add(operand ? (minus ? 177 : 176) : (minus ? kNegate : kPlus), ts, p);
          operand = false;
        } else if (IsPunct(L"++") || IsPunct(L"--")) {
          bool down = IsPunct(L"--");
          add(operand ? (down ? kPostDecrement : kPostIncrement) : (down ? kPreDecrement : kPreIncrement), ts, p);
          if (operand) blocksMember = true;  // x++.y and x++[0] are no objects
        } else if (IsPunct(L"!") || IsPunct(L"~")) {
          if (operand) {
            swprintf(message, 80, L"Ожидается операция, а найдено \"%ls\".", tokenText_);
            ReportError(ts, message);
            return false;
          }
          add(IsPunct(L"!") ? kNot : kBitNot, ts, p);
        } else if (IsPunct(L",")) {
          if (!needOperand(L"Ожидается операнд, а найдена \",\".")) return false;
          add(kComma, ts, p);
          operand = false;
        } else if (const InfixOperator* op = FindInfix(tokenText_)) {
          swprintf(message, 80, L"Ожидается операнд, а найдено \"%ls\".", tokenText_);
          if (!needOperand(message)) return false;
          add(op->priority, ts, p);
          operand = false;
        } else {
          // ";", "{", "}", a stray "]" or an operator this language lacks
          ReportError(ts, kExpectEnd);
          return false;
        }
        break;
      }
    }
  }
  if (!operand) {
    ReportError(end, kExpectEnd);
    return false;
  }
  if (depth > 0) {
    ReportError(end, L"Ожидается \")\".");
    return false;
  }
  // The weakest operator; the rightmost of equals, except that the leftmost
  // "?" opens a conditional (so conditionals group to the right) and that a
  // prefix operator at the start of the range applies last.
  for (int i = 0; i < static_cast<int>(scan->operators.size()); ++i) {
    const Scan::Operator& op = scan->operators[i];
    if (scan->best < 0) {
      scan->best = i;
      continue;
    }
    const Scan::Operator& best = scan->operators[scan->best];
    unsigned group = op.value >> 4, bestGroup = best.value >> 4;
    if (group < bestGroup) {
      scan->best = i;
    } else if (group == bestGroup) {
      if (op.priority >> 4 == 2) continue;
      if (op.priority >> 4 == 13 && IsPrefix(best.priority) && best.start == scan->firstToken) continue;
      scan->best = i;
    }
  }
  return true;
}

bool VmCompiler::CompileVarExpression(int start, int end, int mode) {
  int p = start;
  if (ReadToken(&p) && tokenStart_ < end && IsWord(L"var")) {
    varFlag_ = 1;
    return CompileExpression(p, end, mode);
  }
  varFlag_ = 0;
  return CompileExpression(start, end, mode);
}

bool VmCompiler::CompileExpression(int start, int end, int mode) {
  if (failed_) return false;
  if (expressionDepth_ >= kMaxExpressionDepth) {
    ReportError(start, L"Слишком сложное выражение");
    return false;
  }
  // Parentheses around the whole range go: (a + b) compiles as a + b.
  for (;;) {
    int p = start;
    if (!ReadToken(&p) || tokenStart_ >= end || !IsPunct(L"(")) break;
    int close = SkipMatching(p, end, L"(", L")");
    if (close < 0) break;
    int after = close;
    if (ReadToken(&after) && after < end) {
      int q = after;
      if (ReadToken(&q) && tokenStart_ < end) break;  // something follows the ")"
    }
    start = p;
    end = close;
  }
  ++expressionDepth_;
  Scan scan;
  bool ok = ScanRange(start, end, &scan);
  if (ok) ok = scan.best < 0 ? CompileOperand(start, end, mode) : CompileOperator(start, end, mode, scan);
  --expressionDepth_;
  return ok && !failed_;
}

bool VmCompiler::CompileOperand(int start, int end, int mode) {
  int p = start;
  bool found = false;
  while (ReadToken(&p) && tokenStart_ < end) {
    if (tokenKind_ != VM_TOKEN_PUNCT) {
      found = true;
      break;
    }
  }
  if (!found) {
    ReportError(start, kExpectExpression);
    return false;
  }
  if (mode == VM_EXPR_DISCARD) {
    // A bare operand has no effect, except that "var x;" declares x.
    if (varFlag_ && tokenKind_ == VM_TOKEN_IDENTIFIER) {
      EmitByte(OP_VARIABLE);
      EmitString(tokenText_);
      EmitByte(kVmVariableDeclare);
      EmitByte(OP_POP);
    }
    return true;
  }
  if (tokenKind_ == VM_TOKEN_IDENTIFIER) {
    EmitByte(OP_VARIABLE);
    EmitString(tokenText_);
    EmitByte(mode == VM_EXPR_TARGET ? (varFlag_ ? kVmVariableDeclare : kVmVariableCreate) : kVmVariableExisting);
    if (mode == VM_EXPR_VALUE) EmitByte(OP_LOAD);
    return true;
  }
  if (mode != VM_EXPR_VALUE) {
    ReportError(start, kNeedObjectFoundConstant);
    return false;
  }
  EmitByte(OP_PUSH_CONST);
  switch (tokenKind_) {
    case VM_TOKEN_STRING:
      EmitByte(VM_STRING);
      EmitString(tokenText_);
      break;
    case VM_TOKEN_INTEGER: {
      long long value = 0;
      for (const wchar_t* d = tokenText_; *d; ++d)
        if (value <= 2147483647LL) value = value * 10 + (*d - L'0');
      EmitByte(VM_INTEGER);
      EmitInt(value > 2147483647LL ? 2147483647 : static_cast<int32_t>(value));
      break;
    }
    case VM_TOKEN_HEX:
      EmitByte(VM_INTEGER);
      EmitInt(ParseHexText(tokenText_));
      break;
    case VM_TOKEN_REAL:
      EmitByte(VM_NUMBER);
      EmitDouble(ParseNumberText(tokenText_));
      break;
    default:
      ReportError(tokenStart_, kExpectExpression);
      return false;
  }
  return true;
}

bool VmCompiler::CompileOperator(int start, int end, int mode, const Scan& scan) {
  const Scan::Operator& op = scan.operators[scan.best];
  int priority = op.priority;
  if ((mode == VM_EXPR_REFERENCE || mode == VM_EXPR_TARGET) && priority != kIndex && priority != kMember) {
    ReportError(start, kNeedObjectFoundExpression);
    return false;
  }
  int group = priority >> 4;
  if (group == 0 || (group >= 3 && group <= 12)) return CompileFold(start, end, mode, scan);
  if (group == 2) return CompileConditional(start, end, mode, scan);
  bool discard = mode == VM_EXPR_DISCARD;
  int storeFlag = discard ? 1 : 0;
  if (group == 1) {
    if (!CompileExpression(start, op.start, VM_EXPR_TARGET)) return false;
    if (priority == kAssign) {
      if (!CompileExpression(op.after, end, VM_EXPR_VALUE)) return false;
    } else {
      EmitByte(OP_DUP);
      EmitByte(OP_LOAD);
      if (!CompileExpression(op.after, end, VM_EXPR_VALUE)) return false;
      EmitByte(OpcodeOf(priority));
    }
    EmitByte(OP_STORE);
    EmitByte(storeFlag);
    return true;
  }
  switch (priority) {
    case kNot:
    case kBitNot:
    case kNegate:
    case kPlus:
    case kTypeOf:
      // Discarded, only the operand's own effects remain.
      if (!CompileExpression(op.after, end, discard ? VM_EXPR_DISCARD : VM_EXPR_VALUE)) return false;
      if (!discard && priority != kPlus)
        EmitByte(priority == kNot ? OP_NOT : priority == kBitNot ? OP_BIT_NOT : priority == kNegate ? OP_NEG : OP_TYPEOF);
      return true;
    case kDelete:
      if (!CompileExpression(op.after, end, VM_EXPR_REFERENCE)) return false;
      EmitByte(OP_DELETE);
      if (discard) EmitByte(OP_POP);
      return true;
    case kPostIncrement:
    case kPostDecrement:
    case kPreIncrement:
    case kPreDecrement: {
      bool post = priority == kPostIncrement || priority == kPostDecrement;
      bool up = priority == kPostIncrement || priority == kPreIncrement;
      if (post ? !CompileExpression(start, op.start, VM_EXPR_REFERENCE) : !CompileExpression(op.after, end, VM_EXPR_REFERENCE))
        return false;
      EmitByte(OP_DUP);
      EmitByte(OP_LOAD);
      EmitByte(OP_PUSH_CONST);
      EmitByte(VM_INTEGER);
      EmitInt(1);
      EmitByte(up ? OP_ADD : OP_SUB);
      EmitByte(OP_STORE);
      EmitByte(storeFlag);
      if (post && !discard) {
        EmitByte(OP_PUSH_CONST);
        EmitByte(VM_INTEGER);
        EmitInt(1);
        EmitByte(up ? OP_SUB : OP_ADD);
      }
      return true;
    }
    case kCall:
      return CompileCall(start, end, mode, scan);
    case kNew:
      return CompileNew(start, end, mode, scan);
    case kArrayLiteral:
      return CompileArrayLiteral(start, end, mode, scan);
    case kIndex: {
      int close = SkipMatching(op.after, end, L"[", L"]");
      if (discard) {
        return CompileExpression(start, op.start, VM_EXPR_DISCARD) && CompileExpression(op.after, close, VM_EXPR_DISCARD);
      }
      if (!CompileExpression(start, op.start, VM_EXPR_REFERENCE)) return false;
      if (!CompileExpression(op.after, close, VM_EXPR_VALUE)) return false;
      EmitByte(OP_INDEX);
      EmitByte(mode == VM_EXPR_TARGET ? 1 : 0);
      if (mode == VM_EXPR_VALUE) EmitByte(OP_LOAD);
      return true;
    }
    case kMember: {
      if (discard) return CompileExpression(start, op.start, VM_EXPR_DISCARD);
      int p = op.after;
      if (!ReadToken(&p) || tokenStart_ >= end || tokenKind_ != VM_TOKEN_IDENTIFIER) {
        ReportError(op.after, L"Требуется свойство или метод.");
        return false;
      }
      std::wstring name(tokenText_);
      if (ReadToken(&p) && tokenStart_ < end) {  // something after the name that no operator took
        ReportError(tokenStart_, kExpectEnd);
        return false;
      }
      if (!CompileExpression(start, op.start, VM_EXPR_REFERENCE)) return false;
      EmitByte(OP_FIELD);
      EmitString(name.c_str());
      EmitByte(mode == VM_EXPR_TARGET ? 1 : 0);
      if (mode == VM_EXPR_VALUE) EmitByte(OP_LOAD);
      return true;
    }
    default:
      ReportError(op.start, kExpectEnd);
      return false;
  }
}

// A chain of equal operators of groups 0 and 3 to 12, folded from the left:
// a - b - c is (a - b) - c. "&&" and "||" skip their right side when the
// left one decides, and still leave a boolean.
bool VmCompiler::CompileFold(int start, int end, int mode, const Scan& scan) {
  const Scan::Operator& best = scan.operators[scan.best];
  unsigned group = best.value >> 4;
  std::vector<const Scan::Operator*> chain;
  for (const Scan::Operator& op : scan.operators)
    if (op.value >> 4 == group) chain.push_back(&op);
  bool discard = mode == VM_EXPR_DISCARD;
  int n = static_cast<int>(chain.size());
  auto segmentEnd = [&](int i) { return i < n ? chain[i]->start : end; };
  if (best.priority == kComma) {
    int from = start;
    for (int i = 0; i <= n; ++i) {
      if (!CompileExpression(from, segmentEnd(i), i == n ? mode : VM_EXPR_DISCARD)) return false;
      if (i < n) from = chain[i]->after;
    }
    return true;
  }
  if (best.priority == kAnd || best.priority == kOr) {
    bool isAnd = best.priority == kAnd;
    std::vector<int> exits;  // jumps taken when an operand decides
    int from = start;
    for (int i = 0; i <= n; ++i) {
      bool last = i == n;
      if (last && discard) {
        if (!CompileExpression(from, end, VM_EXPR_DISCARD)) return false;
        break;
      }
      if (!CompileExpression(from, segmentEnd(i), VM_EXPR_VALUE)) return false;
      if (!isAnd) EmitByte(OP_NOT);
      exits.push_back(EmitJump(OP_JUMP_IF_FALSE));
      if (!last) from = chain[i]->after;
    }
    if (discard) {
      for (int at : exits) PatchJump(at);
      return true;
    }
    // Every operand passed: true for "&&", false for "||".
    EmitByte(OP_PUSH_CONST);
    EmitByte(VM_BOOLEAN);
    EmitByte(isAnd ? 1 : 0);
    int over = EmitJump(OP_JUMP);
    for (int at : exits) PatchJump(at);
    EmitByte(OP_PUSH_CONST);
    EmitByte(VM_BOOLEAN);
    EmitByte(isAnd ? 0 : 1);
    PatchJump(over);
    return true;
  }
  int operandMode = discard ? VM_EXPR_DISCARD : VM_EXPR_VALUE;
  if (!CompileExpression(start, segmentEnd(0), operandMode)) return false;
  for (int i = 0; i < n; ++i) {
    const Scan::Operator* op = chain[i];
    int segmentStart = op->after;
    if (op->priority == kInstanceOf) {
      int p = op->start;
      ReadToken(&p);  // "instanceof"
      int afterKeyword = p;
      bool named = ReadToken(&p) && tokenStart_ < end;
      if (!named || tokenKind_ != VM_TOKEN_IDENTIFIER) {
        ReportError(named ? p : afterKeyword, kNeedType);
        return false;
      }
      int code = TypeCode(tokenText_);
      if (code < 0) {
        wchar_t message[300];
        swprintf(message, 300, L"\"%.256ls\" не является объектом", tokenText_);
        ReportError(tokenStart_, message);
        return false;
      }
      if (!discard) {
        EmitByte(OP_INSTANCEOF);
        EmitByte(code);
      }
      continue;  // the scan let no operand follow the type name
    }
    if (!CompileExpression(segmentStart, segmentEnd(i + 1), operandMode)) return false;
    if (!discard) EmitByte(OpcodeOf(op->priority));
  }
  return true;
}

// cond ? x : y, with the leftmost "?" of the range and the ":" that answers
// it, so that p ? q : r ? s : t means p ? q : (r ? s : t).
bool VmCompiler::CompileConditional(int start, int end, int mode, const Scan& scan) {
  const Scan::Operator& question = scan.operators[scan.best];
  if (question.priority != kQuestion) {
    ReportError(question.start, L"Найдено \":\", но не найдено \"?\".");
    return false;
  }
  unsigned group = question.value >> 4;
  const Scan::Operator* colon = nullptr;
  int open = 0;
  for (int i = scan.best + 1; i < static_cast<int>(scan.operators.size()) && !colon; ++i) {
    const Scan::Operator& op = scan.operators[i];
    if (op.value >> 4 != group) continue;
    if (op.priority == kQuestion) ++open;
    else if (open > 0) --open;
    else colon = &op;
  }
  if (!colon) {
    ReportError(end, L"Ожидается \":\".");
    return false;
  }
  if (!CompileExpression(start, question.start, VM_EXPR_VALUE)) return false;
  int toFalse = EmitJump(OP_JUMP_IF_FALSE);
  if (!CompileExpression(question.after, colon->start, mode)) return false;
  int toEnd = EmitJump(OP_JUMP);
  PatchJump(toFalse);
  if (!CompileExpression(colon->after, end, mode)) return false;
  PatchJump(toEnd);
  return true;
}

// The elements between an opening "(" or "[" (open: the position after it)
// and its closing token (close: where it begins), split at the commas that
// stand outside nested parentheses and brackets, compiled in mode (nothing
// when countOnly). An empty element is refused with emptyMessage; "()" and
// "[]" have none.
bool VmCompiler::CompileList(int open, int close, const wchar_t* emptyMessage, int* count, bool countOnly, int mode) {
  *count = 0;
  int p = open;
  int elementStart = open;
  int nesting = 0;
  bool hasTokens = false;
  bool any = false;
  for (;;) {
    bool more = ReadToken(&p) && tokenStart_ < close;
    bool comma = more && nesting == 0 && IsPunct(L",");
    if (!more || comma) {
      if (!hasTokens) {
        if (!more && !any) return true;  // an empty list
        int at = elementStart;
        SkipBlanks(&at);
        ReportError(at, emptyMessage);
        return false;
      }
      if (!countOnly && !CompileExpression(elementStart, comma ? tokenStart_ : close, mode)) return false;
      ++*count;
      if (!more) return true;
      any = true;
      hasTokens = false;
      elementStart = p;
      continue;
    }
    hasTokens = true;
    if (tokenKind_ == VM_TOKEN_PUNCT) {
      if (IsPunct(L"(") || IsPunct(L"[")) ++nesting;
      else if ((IsPunct(L")") || IsPunct(L"]")) && nesting > 0) --nesting;
    }
  }
}

bool VmCompiler::CompileCall(int start, int end, int mode, const Scan& scan) {
  const Scan::Operator& call = scan.operators[scan.best];
  int close = SkipMatching(call.after, end, L"(", L")");
  int count = 0;
  if (!CompileList(call.after, close, L"Ожидается аргумент функции", &count, true, VM_EXPR_VALUE)) return false;
  if (count > kMaxArguments) {
    ReportError(call.start, L"Слишком много аргументов у функции");
    return false;
  }
  if (!CompileList(call.after, close, L"Ожидается аргумент функции", &count, false, VM_EXPR_VALUE)) return false;
  if (!CompileExpression(start, call.start, VM_EXPR_VALUE)) return false;
  EmitByte(OP_CALL);
  EmitByte(count);
  if (mode == VM_EXPR_DISCARD) EmitByte(OP_POP);
  return true;
}

bool VmCompiler::CompileNew(int, int end, int mode, const Scan& scan) {
  const Scan::Operator& op = scan.operators[scan.best];
  int p = op.start;
  ReadToken(&p);  // "new"
  if (!ReadToken(&p) || tokenStart_ >= end || tokenKind_ != VM_TOKEN_IDENTIFIER) {
    ReportError(tokenStart_ < end ? tokenStart_ : p, kNeedType);
    return false;
  }
  bool isArray = Equals(L"Array");
  if (!isArray && !Equals(L"Object")) {
    ReportError(op.start, L"Невозможно создать объект данного типа");
    return false;
  }
  int count = 0;
  int q = p;
  bool hasArguments = ReadToken(&q) && tokenStart_ < end && IsPunct(L"(");
  if (!isArray) {
    if (mode != VM_EXPR_DISCARD) EmitByte(OP_NEW_OBJECT);  // arguments are not compiled
    return true;
  }
  if (hasArguments) {
    int close = SkipMatching(q, end, L"(", L")");
    if (!CompileList(q, close, L"Ожидается аргумент", &count, false,
                     mode == VM_EXPR_DISCARD ? VM_EXPR_DISCARD : VM_EXPR_VALUE))
      return false;
  }
  if (mode == VM_EXPR_DISCARD) return true;
  EmitByte(OP_NEW_ARRAY);
  EmitInt(count);
  return true;
}

bool VmCompiler::CompileArrayLiteral(int, int end, int mode, const Scan& scan) {
  const Scan::Operator& op = scan.operators[scan.best];
  int close = SkipMatching(op.after, end, L"[", L"]");
  int count = 0;
  bool discard = mode == VM_EXPR_DISCARD;
  if (!CompileList(op.after, close, L"Ожидается элемент массива", &count, false,
                   discard ? VM_EXPR_DISCARD : VM_EXPR_VALUE))
    return false;
  if (discard) return true;
  EmitByte(OP_NEW_ARRAY);
  EmitInt(count);
  return true;
}
