// The script compiler: turns the UTF-16 source of a script block into byte
// code. It lives for one compilation; Compile leaves the program in the code
// buffer, or reports the first error (with its source position) to its error
// sink and answers false.
#pragma once

#include <cstdint>

#include "script/compiler/vm_code.h"

class VmErrorSink;
class VmFunctionRecord;

enum VmTokenKind {
  VM_TOKEN_IDENTIFIER = 0,
  VM_TOKEN_PUNCT = 1,
  VM_TOKEN_STRING = 2,
  VM_TOKEN_INTEGER = 3,
  VM_TOKEN_HEX = 4,
  VM_TOKEN_REAL = 5,
  // A character that begins no token (such as "#" or "@"); the parsers
  // refuse it.
  VM_TOKEN_UNKNOWN = 6,
};

enum VmExprMode {
  VM_EXPR_DISCARD = -1,
  VM_EXPR_VALUE = 0,
  VM_EXPR_REFERENCE = 1,
  VM_EXPR_TARGET = 2,
};

bool VmIsIdentifierStart(wchar_t c);
bool VmIsIdentifierChar(wchar_t c);

class VmCompiler {
public:
  static constexpr int kTokenChars = 4096;  // 4095 characters and the terminator
  static constexpr int kMaxArguments = 255;
  // Nesting beyond these depths is refused, so a pathological source cannot
  // exhaust the program's stack.
  static constexpr int kMaxExpressionDepth = 400;
  static constexpr int kMaxStatementDepth = 400;
  // Continue targets besides code offsets.
  static constexpr int kNoLoop = -1;
  static constexpr int kInSwitch = -2;
  static constexpr int kContinuePending = -3;  // do-while: the condition is not emitted yet

  VmCompiler();
  ~VmCompiler();
  VmCompiler(const VmCompiler&) = delete;
  VmCompiler& operator=(const VmCompiler&) = delete;

  // Deletes the function records, empties the pending breaks and frees the
  // code. The continue target and the var flag stay.
  void Reset();

  // Compiles the whole text (null: the empty text).
  bool Compile(const wchar_t* text);
  bool Compile(const wchar_t* text, int length);
  bool CompileStatement(int* position);
  bool CompileExpression(int start, int end, int mode);
  bool CompileVarExpression(int start, int end, int mode);

  // The lexer: reads the token at *position into the token kind and text
  // and moves past it and the blanks and comments after it; false at the
  // end of the source.
  bool ReadToken(int* position);
  void SkipBlanks(int* position) const;
  int GetLineAt(int position) const;
  // Sets the error position and tells the error sink.
  void ReportError(int position, const wchar_t* message);

  void EmitBytes(const void* data, int count) { code_.EmitBytes(data, count); }
  void EmitByte(int value) { code_.EmitByte(value); }
  void EmitInt(int32_t value) { code_.EmitInt(value); }
  void EmitDouble(double value) { code_.EmitDouble(value); }
  void EmitString(const wchar_t* text) { code_.EmitString(text); }
  // Writes the current code size over the int32 operand at offset.
  void PatchJump(int operandOffset) { code_.PatchInt(operandOffset, code_.Size()); }

  void AddPendingBreak(int operandOffset);
  void SetBreakCount(int count);

  // Null gives the message box.
  void SetErrorSink(VmErrorSink* sink);

  int GetCodeSize() const { return code_.Size(); }
  const unsigned char* GetCode() const { return code_.Bytes(); }
  int GetErrorPosition() const { return errorPosition_; }
  int GetTokenKind() const { return tokenKind_; }
  const wchar_t* GetTokenText() const { return tokenText_; }
  int GetTokenStart() const { return tokenStart_; }
  VmFunctionRecord* GetFunctions() const { return functions_; }
  int GetContinueTarget() const { return continueTarget_; }
  bool GetVarFlag() const { return varFlag_ != 0; }

private:
  friend class VmFunctionRecord;
  struct Scan;
  struct Loop;

  bool IsPunct(const wchar_t* text) const { return tokenKind_ == VM_TOKEN_PUNCT && Equals(text); }
  bool IsWord(const wchar_t* text) const { return tokenKind_ == VM_TOKEN_IDENTIFIER && Equals(text); }
  bool Equals(const wchar_t* text) const;
  void ReadString(int* position, wchar_t quote);
  void ReadNumber(int* position);
  // Notes where every line starts, for GetLineAt; false when memory ran out.
  bool IndexLines();

  // Expressions.
  bool ScanRange(int start, int end, Scan* scan);
  bool CompileOperand(int start, int end, int mode);
  bool CompileOperator(int start, int end, int mode, const Scan& scan);
  bool CompileFold(int start, int end, int mode, const Scan& scan);
  bool CompileConditional(int start, int end, int mode, const Scan& scan);
  bool CompileCall(int start, int end, int mode, const Scan& scan);
  bool CompileNew(int start, int end, int mode, const Scan& scan);
  bool CompileArrayLiteral(int start, int end, int mode, const Scan& scan);
  bool CompileList(int open, int end, const wchar_t* emptyMessage, int* count, bool countOnly, int mode);
  int SkipMatching(int position, int end, const wchar_t* open, const wchar_t* close);

  // Statements.
  bool CompileStatementAt(int* position, int depth);
  bool CompileBlock(int* position, int depth);
  bool CompileIf(int* position, int depth);
  bool CompileWhile(int* position, int depth);
  bool CompileDoWhile(int* position, int depth);
  bool CompileFor(int* position, int depth);
  bool CompileBreak(int* position, int start, bool isContinue);
  bool CompileReturn(int* position);
  bool CompileWith(int* position, int depth);
  bool CompileSwitch(int* position, int depth);
  bool ParseFunctionHeader(int* position, VmFunctionRecord* record);
  bool ReadHead(int* position, int* headStart, int* headEnd);
  bool ExpectStatementEnd(int* position);
  bool StartsExpression() const;
  int FindStatementEnd(int position, int* next);
  void EmitLine(int position);
  int EmitJump(int opcode);  // answers the operand offset
  void EmitWithEnds(int count);
  void BeginLoop(Loop* saved, int continueTarget);
  void EndLoop(const Loop& saved);
  bool FirstPass();

  const wchar_t* source_ = nullptr;
  int sourceLength_ = 0;
  int tokenKind_ = 0;
  wchar_t tokenText_[kTokenChars];
  int tokenStart_ = 0;
  VmFunctionRecord* functions_ = nullptr;
  // The pending break and continue jumps, and the line starts, live in
  // arrays that double from this room.
  static constexpr int kFirstJumpRoom = 16;
  static constexpr int kFirstLineRoom = 256;
  int breakCount_ = 0;
  int breakCapacity_ = 0;
  int32_t* breaks_ = nullptr;
  int continueTarget_ = kNoLoop;
  unsigned char varFlag_ = 0;
  VmCode code_;
  int errorPosition_ = 0;

  VmErrorSink* sink_;
  int* lineStarts_ = nullptr;  // positions of the line feeds
  int lineCount_ = 0;
  bool failed_ = false;
  int expressionDepth_ = 0;
  int breakableDepth_ = 0;      // loops and switches around the statement
  int withDepth_ = 0;           // with bodies around the statement
  int breakWithDepth_ = 0;      // with bodies around the innermost loop or switch
  int continueWithDepth_ = 0;   // with bodies around the innermost loop
  int continueCount_ = 0;       // pending continue jumps of do-while loops
  int continueCapacity_ = 0;
  int32_t* continues_ = nullptr;
};
