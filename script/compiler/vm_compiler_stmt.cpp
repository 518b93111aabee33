// The statement compiler and the layout of a whole program: the functions'
// definitions, the main statements, a top-level return, then the bodies.
#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

#include "script/compiler/vm_compiler.h"
#include "script/machine/vm_function_record.h"
#include "script/values/vm_value.h"

namespace {

const wchar_t* const kExpectStatement = L"Ожидается оператор или выражение.";
const wchar_t* const kExpectOpen = L"Ожидается \"(\".";
const wchar_t* const kExpectSemicolon = L"Ожидается \";\".";
const wchar_t* const kExpectBrace = L"Ожидается \"{\".";
const wchar_t* const kExpectClosingBrace = L"Ожидается \"}\".";

}  // namespace

struct VmCompiler::Loop {
  int continueTarget;
  int breakCount;
  int continueCount;
  int breakWithDepth;
  int continueWithDepth;
};

void VmCompiler::BeginLoop(Loop* saved, int continueTarget) {
  saved->continueTarget = continueTarget_;
  saved->breakCount = breakCount_;
  saved->continueCount = continueCount_;
  saved->breakWithDepth = breakWithDepth_;
  saved->continueWithDepth = continueWithDepth_;
  continueTarget_ = continueTarget;
  breakWithDepth_ = withDepth_;
  if (continueTarget != kInSwitch) continueWithDepth_ = withDepth_;
  ++breakableDepth_;
}

void VmCompiler::EndLoop(const Loop& saved) {
  for (int i = saved.breakCount; i < breakCount_; ++i) PatchJump(breaks_[i]);
  SetBreakCount(saved.breakCount);
  continueCount_ = saved.continueCount;
  continueTarget_ = saved.continueTarget;
  breakWithDepth_ = saved.breakWithDepth;
  continueWithDepth_ = saved.continueWithDepth;
  --breakableDepth_;
}

bool VmCompiler::StartsExpression() const {
  static const wchar_t* const kStarts[] = {L"(", L"[", L"-", L"+", L"!", L"~", L"++", L"--"};
  for (const wchar_t* t : kStarts)
    if (Equals(t)) return true;
  return false;
}

void VmCompiler::EmitLine(int position) {
  EmitByte(OP_LINE);
  EmitInt(GetLineAt(position));
}

int VmCompiler::EmitJump(int opcode) {
  EmitByte(opcode);
  int at = code_.Size();
  EmitInt(0);
  return at;
}

void VmCompiler::EmitWithEnds(int count) {
  for (int i = 0; i < count; ++i) EmitByte(OP_WITH_END);
}

// The position of the next ";" token from position (the end of the source
// when none comes); next is the position after it.
int VmCompiler::FindStatementEnd(int position, int* next) {
  int p = position;
  while (ReadToken(&p)) {
    if (IsPunct(L";")) {
      *next = p;
      return tokenStart_;
    }
  }
  *next = sourceLength_;
  return sourceLength_;
}

bool VmCompiler::ExpectStatementEnd(int* position) {
  int q = *position;
  if (!ReadToken(&q) || IsPunct(L";")) {
    *position = q;
    return true;
  }
  ReportError(*position, kExpectSemicolon);
  return false;
}

// "(" head ")" after a keyword: the head runs from after the "(" to where
// the matching ")" begins; the position moves past the ")".
bool VmCompiler::ReadHead(int* position, int* headStart, int* headEnd) {
  int p = *position;
  if (!ReadToken(&p) || !IsPunct(L"(")) {
    ReportError(*position, kExpectOpen);
    return false;
  }
  int close = SkipMatching(p, sourceLength_, L"(", L")");
  if (close < 0) {
    ReportError(sourceLength_, L"Ожидается \")\".");
    return false;
  }
  *headStart = p;
  *headEnd = close;
  ReadToken(&close);
  *position = close;
  return true;
}

bool VmCompiler::ParseFunctionHeader(int* position, VmFunctionRecord* record) {
  int p = *position;
  if (!ReadToken(&p) || tokenKind_ != VM_TOKEN_IDENTIFIER) {
    ReportError(*position, L"Ожидается название функции");
    return false;
  }
  if (record && !record->SetName(tokenText_)) {
    ReportError(tokenStart_, L"Недостаточно памяти");
    return false;
  }
  int q = p;
  if (!ReadToken(&q) || !IsPunct(L"(")) {
    ReportError(p, kExpectOpen);
    return false;
  }
  p = q;
  if (ReadToken(&q) && IsPunct(L")")) {
    p = q;
  } else {
    int count = 0;
    for (;;) {
      q = p;
      if (!ReadToken(&q)) break;  // the source ends where an argument is expected
      if (tokenKind_ != VM_TOKEN_IDENTIFIER) {
        ReportError(tokenStart_, L"Ожидается аргумент функции");
        return false;
      }
      if (count == kMaxArguments) {
        ReportError(tokenStart_, L"Слишком много аргументов у функции");
        return false;
      }
      if (record && !record->AddArgument(tokenText_)) {
        ReportError(tokenStart_, L"Недостаточно памяти");
        return false;
      }
      ++count;
      p = q;
      int r = p;
      if (!ReadToken(&r)) {
        ReportError(p, L"Ожидается конец файла");
        return false;
      }
      if (IsPunct(L")")) {
        p = r;
        break;
      }
      if (!IsPunct(L",")) {
        ReportError(p, L"Ожидается \",\" или \")\".");
        return false;
      }
      p = r;
    }
  }
  q = p;
  if (!ReadToken(&q) || !IsPunct(L"{")) {
    ReportError(p, kExpectBrace);
    return false;
  }
  if (record) record->bodyStart = tokenStart_;
  int close = SkipMatching(q, sourceLength_, L"{", L"}");
  if (close < 0) {
    *position = sourceLength_;
  } else {
    ReadToken(&close);
    *position = close;
  }
  return true;
}

bool VmCompiler::FirstPass() {
  int p = 0;
  while (ReadToken(&p)) {
    if (IsPunct(L"{")) {
      int close = SkipMatching(p, sourceLength_, L"{", L"}");
      if (close < 0) return true;
      ReadToken(&close);
      p = close;
    } else if (IsWord(L"function")) {
      VmFunctionRecord* record = new VmFunctionRecord(this);
      if (!ParseFunctionHeader(&p, record)) return false;
    }
  }
  return true;
}

bool VmCompiler::Compile(const wchar_t* text) { return Compile(text, text ? static_cast<int>(wcslen(text)) : 0); }

bool VmCompiler::Compile(const wchar_t* text, int length) {
  Reset();
  source_ = text;
  sourceLength_ = text && length > 0 ? length : 0;
  failed_ = false;
  errorPosition_ = 0;
  // Nothing of an earlier compilation that stopped in a loop or a var
  // statement carries over.
  continueTarget_ = kNoLoop;
  varFlag_ = 0;
  expressionDepth_ = breakableDepth_ = withDepth_ = breakWithDepth_ = continueWithDepth_ = continueCount_ = 0;
  if (!IndexLines()) {
    ReportError(0, L"Недостаточно памяти");
    return false;
  }
  if (!FirstPass()) return false;
  for (VmFunctionRecord* r = functions_; r; r = r->next) {
    EmitByte(OP_DEFINE_FUNCTION);
    EmitString(r->name);
    EmitByte(r->argumentCount);
    for (int i = 0; i < r->argumentCount; ++i) EmitString(r->argumentNames[i]);
    r->entryOperand = code_.Size();
    EmitInt(-1);
  }
  int position = 0;
  while (position < sourceLength_)
    if (!CompileStatement(&position)) return false;
  EmitByte(OP_RETURN);
  for (VmFunctionRecord* r = functions_; r; r = r->next) {
    PatchJump(r->entryOperand);
    int body = r->bodyStart;
    if (!CompileStatement(&body)) return false;
    EmitByte(OP_PUSH_CONST);
    EmitByte(VM_UNDEFINED);
    EmitByte(OP_RETURN);
  }
  if (code_.Failed()) ReportError(0, L"Недостаточно памяти");
  return !failed_;
}

bool VmCompiler::CompileStatement(int* position) { return CompileStatementAt(position, 0) && !failed_; }

bool VmCompiler::CompileBlock(int* position, int depth) {
  for (;;) {
    int p = *position;
    if (!ReadToken(&p)) {  // the source ends before the block does
      ReportError(sourceLength_, kExpectClosingBrace);
      return false;
    }
    if (IsPunct(L"}")) {
      *position = p;
      return true;
    }
    if (!CompileStatementAt(position, depth + 1)) return false;
  }
}

bool VmCompiler::CompileStatementAt(int* position, int depth) {
  if (failed_) return false;
  if (depth >= kMaxStatementDepth) {
    ReportError(*position, L"Слишком глубокая вложенность операторов");
    return false;
  }
  for (;;) {
    int p = *position;
    if (!ReadToken(&p)) {
      *position = p;
      return true;
    }
    int start = tokenStart_;
    if (tokenKind_ == VM_TOKEN_PUNCT && IsPunct(L"{")) {
      *position = p;
      return CompileBlock(position, depth);
    }
    if (tokenKind_ == VM_TOKEN_PUNCT && IsPunct(L"}")) {
      *position = p;  // a stray "}" ends an empty statement
      return true;
    }
    if (tokenKind_ == VM_TOKEN_PUNCT && StartsExpression()) {
      // -f(); ++i; (a || b)(); and the like: an expression statement.
      EmitLine(p);
      int next;
      int end = FindStatementEnd(start, &next);
      *position = next;
      varFlag_ = 0;
      return CompileExpression(start, end, VM_EXPR_DISCARD);
    }
    if (tokenKind_ != VM_TOKEN_IDENTIFIER) {
      ReportError(start, kExpectStatement);
      return false;
    }
    if (IsWord(L"function")) {
      // Only top-level declarations define functions (the first pass found
      // them); here the declaration is passed over.
      if (!ParseFunctionHeader(&p, nullptr)) return false;
      *position = p;
      continue;
    }
    *position = p;
    if (IsWord(L"if")) return CompileIf(position, depth);
    if (IsWord(L"while")) return CompileWhile(position, depth);
    if (IsWord(L"do")) return CompileDoWhile(position, depth);
    if (IsWord(L"for")) return CompileFor(position, depth);
    if (IsWord(L"break")) return CompileBreak(position, start, false);
    if (IsWord(L"continue")) return CompileBreak(position, start, true);
    if (IsWord(L"return")) return CompileReturn(position);
    if (IsWord(L"with")) return CompileWith(position, depth);
    if (IsWord(L"switch")) return CompileSwitch(position, depth);
    if (IsWord(L"else")) {
      ReportError(start, L"Найден else, но не найден if.");
      return false;
    }
    if (IsWord(L"case")) {
      ReportError(start, L"Обнаружен case, но не обнаружен switch.");
      return false;
    }
    if (IsWord(L"default")) {
      ReportError(start, L"Обнаружен default, но не обнаружен switch.");
      return false;
    }
    // An expression statement, up to the next ";".
    EmitLine(p);
    int next;
    int end = FindStatementEnd(start, &next);
    *position = next;
    return CompileVarExpression(start, end, VM_EXPR_DISCARD);
  }
}

bool VmCompiler::CompileIf(int* position, int depth) {
  int headStart, headEnd;
  if (!ReadHead(position, &headStart, &headEnd)) return false;
  EmitLine(headStart);
  if (!CompileExpression(headStart, headEnd, VM_EXPR_VALUE)) return false;
  int toElse = EmitJump(OP_JUMP_IF_FALSE);
  if (!CompileStatementAt(position, depth + 1)) return false;
  int q = *position;
  if (ReadToken(&q) && IsWord(L"else")) {
    int toEnd = EmitJump(OP_JUMP);
    PatchJump(toElse);
    *position = q;
    if (!CompileStatementAt(position, depth + 1)) return false;
    PatchJump(toEnd);
  } else {
    PatchJump(toElse);
  }
  return true;
}

bool VmCompiler::CompileWhile(int* position, int depth) {
  int headStart, headEnd;
  if (!ReadHead(position, &headStart, &headEnd)) return false;
  int top = code_.Size();
  Loop saved;
  BeginLoop(&saved, top);
  EmitLine(headStart);
  if (!CompileExpression(headStart, headEnd, VM_EXPR_VALUE)) return false;
  AddPendingBreak(EmitJump(OP_JUMP_IF_FALSE));
  if (!CompileStatementAt(position, depth + 1)) return false;
  EmitByte(OP_JUMP);
  EmitInt(top);
  EndLoop(saved);
  return true;
}

// continue in the body goes to the condition, which is not emitted yet:
// its jumps wait in the pending continues.
bool VmCompiler::CompileDoWhile(int* position, int depth) {
  int top = code_.Size();
  Loop saved;
  BeginLoop(&saved, kContinuePending);
  if (!CompileStatementAt(position, depth + 1)) return false;
  int p = *position;
  if (!ReadToken(&p) || !IsWord(L"while")) {
    ReportError(*position, L"Ожидается while");
    return false;
  }
  *position = p;
  int headStart, headEnd;
  if (!ReadHead(position, &headStart, &headEnd)) return false;
  for (int i = saved.continueCount; i < continueCount_; ++i) PatchJump(continues_[i]);
  EmitLine(headStart);
  if (!CompileExpression(headStart, headEnd, VM_EXPR_VALUE)) return false;
  EmitByte(OP_NOT);
  EmitByte(OP_JUMP_IF_FALSE);
  EmitInt(top);
  EndLoop(saved);
  return ExpectStatementEnd(position);
}

bool VmCompiler::CompileFor(int* position, int depth) {
  int headStart, headEnd;
  if (!ReadHead(position, &headStart, &headEnd)) return false;
  int semicolons[2];
  int afterSemicolons[2];
  int found = 0;
  int p = headStart;
  while (found < 2 && ReadToken(&p) && tokenStart_ < headEnd) {
    if (IsPunct(L";")) {
      semicolons[found] = tokenStart_;
      afterSemicolons[found++] = p;
    }
  }
  if (found < 2) {
    ReportError(headEnd, kExpectSemicolon);
    return false;
  }
  EmitLine(headStart);
  if (!CompileVarExpression(headStart, semicolons[0], VM_EXPR_DISCARD)) return false;
  int toCondition = EmitJump(OP_JUMP);
  int update = code_.Size();
  Loop saved;
  BeginLoop(&saved, update);
  EmitLine(afterSemicolons[1]);
  if (!CompileExpression(afterSemicolons[1], headEnd, VM_EXPR_DISCARD)) return false;
  PatchJump(toCondition);
  EmitLine(afterSemicolons[0]);
  if (!CompileExpression(afterSemicolons[0], semicolons[1], VM_EXPR_VALUE)) return false;
  AddPendingBreak(EmitJump(OP_JUMP_IF_FALSE));
  if (!CompileStatementAt(position, depth + 1)) return false;
  EmitByte(OP_JUMP);
  EmitInt(update);
  EndLoop(saved);
  return true;
}

bool VmCompiler::CompileBreak(int* position, int start, bool isContinue) {
  EmitLine(start);
  if (!isContinue) {
    if (breakableDepth_ == 0) {
      ReportError(start, L"Найден break, но цикл не обнаружен.");
      return false;
    }
    EmitWithEnds(withDepth_ - breakWithDepth_);
    AddPendingBreak(EmitJump(OP_JUMP));
  } else {
    if (continueTarget_ == kNoLoop || continueTarget_ == kInSwitch) {
      ReportError(start, L"Найден continue, но цикл не обнаружен.");
      return false;
    }
    EmitWithEnds(withDepth_ - continueWithDepth_);
    if (continueTarget_ == kContinuePending) {
      int at = EmitJump(OP_JUMP);
      if (!ResizeGrowingArray(&continues_, &continueCapacity_, continueCount_ + 1, kFirstJumpRoom)) {
        ReportError(start, L"Недостаточно памяти");
        return false;
      }
      continues_[continueCount_++] = at;
    } else {
      EmitByte(OP_JUMP);
      EmitInt(continueTarget_);
    }
  }
  return ExpectStatementEnd(position);
}

bool VmCompiler::CompileReturn(int* position) {
  EmitLine(*position);
  int q = *position;
  if (!ReadToken(&q) || IsPunct(L";")) {
    EmitByte(OP_PUSH_CONST);
    EmitByte(VM_UNDEFINED);
    EmitByte(OP_RETURN);
    *position = q;
    return true;
  }
  int next;
  int end = FindStatementEnd(*position, &next);
  if (!CompileExpression(*position, end, VM_EXPR_VALUE)) return false;
  EmitByte(OP_RETURN);
  *position = next;
  return true;
}

bool VmCompiler::CompileWith(int* position, int depth) {
  int headStart, headEnd;
  if (!ReadHead(position, &headStart, &headEnd)) return false;
  EmitLine(headStart);
  if (!CompileExpression(headStart, headEnd, VM_EXPR_REFERENCE)) return false;
  EmitByte(OP_WITH_BEGIN);
  ++withDepth_;
  bool ok = CompileStatementAt(position, depth + 1);
  --withDepth_;
  if (!ok) return false;
  EmitByte(OP_WITH_END);
  return true;
}

bool VmCompiler::CompileSwitch(int* position, int depth) {
  int headStart, headEnd;
  if (!ReadHead(position, &headStart, &headEnd)) return false;
  EmitLine(headStart);
  if (!CompileExpression(headStart, headEnd, VM_EXPR_VALUE)) return false;
  int p = *position;
  if (!ReadToken(&p) || !IsPunct(L"{")) {
    ReportError(*position, kExpectBrace);
    return false;
  }
  Loop saved;
  BeginLoop(&saved, kInSwitch);
  int openTest = EmitJump(OP_JUMP);
  int defaultEntry = -1;
  bool hadLabel = false;
  int q = p;
  if (!ReadToken(&q) || !(IsWord(L"case") || IsWord(L"default"))) {
    ReportError(p, L"Ожидается case или default.");
    return false;
  }
  for (;;) {
    q = p;
    if (!ReadToken(&q)) {
      ReportError(sourceLength_, kExpectClosingBrace);
      return false;
    }
    if (IsPunct(L"}")) {
      p = q;
      break;
    }
    if (IsWord(L"default")) {
      int r = q;
      if (!ReadToken(&r) || !IsPunct(L":")) {
        ReportError(q, L"Ожидается \":\".");
        return false;
      }
      defaultEntry = code_.Size();
      hadLabel = true;
      p = r;
      continue;
    }
    if (IsWord(L"case")) {
      // The value runs to the ":" that ends the label; a ":" that answers
      // a "?" of the value, outside parentheses, belongs to the value.
      int valueStart = q;
      int colon = -1, afterColon = 0;
      int nesting = 0, questions = 0;
      int r = q;
      while (ReadToken(&r)) {
        if (tokenKind_ != VM_TOKEN_PUNCT) continue;
        if (IsPunct(L"(") || IsPunct(L"[")) ++nesting;
        else if ((IsPunct(L")") || IsPunct(L"]")) && nesting > 0) --nesting;
        else if (nesting == 0 && IsPunct(L"?")) ++questions;
        else if (nesting == 0 && IsPunct(L":")) {
          if (questions > 0) {
            --questions;
          } else {
            colon = tokenStart_;
            afterColon = r;
            break;
          }
        }
      }
      if (colon < 0) {
        ReportError(sourceLength_, L"Ожидается \":\".");
        return false;
      }
      int v = valueStart;
      if (!ReadToken(&v) || tokenStart_ >= colon) {
        ReportError(valueStart, L"Ожидается выражение");
        return false;
      }
      int fallThrough = hadLabel ? EmitJump(OP_JUMP) : -1;
      PatchJump(openTest);
      EmitByte(OP_DUP);
      if (!CompileExpression(valueStart, colon, VM_EXPR_VALUE)) return false;
      EmitByte(OP_EQ);
      openTest = EmitJump(OP_JUMP_IF_FALSE);
      if (fallThrough >= 0) PatchJump(fallThrough);
      hadLabel = true;
      p = afterColon;
      continue;
    }
    if (!CompileStatementAt(&p, depth + 1)) return false;
  }
  if (defaultEntry >= 0) {
    int over = EmitJump(OP_JUMP);
    PatchJump(openTest);
    EmitByte(OP_JUMP);
    EmitInt(defaultEntry);
    PatchJump(over);
  } else {
    PatchJump(openTest);
  }
  EndLoop(saved);
  EmitByte(OP_POP);
  *position = p;
  return true;
}
