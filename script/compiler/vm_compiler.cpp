// The compiler's state, its lexer, its error report and its code buffer.
#include "script/compiler/vm_compiler.h"

#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "script/compiler/vm_error_sink.h"
#include "script/compiler/vm_message_box_error_sink.h"
#include "script/machine/vm_function_record.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsHexDigit(wchar_t c) { return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }

}  // namespace

bool VmIsIdentifierStart(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= 0x0410 && c <= 0x044F) || c >= 0x0451 ||
         c == L'_';
}

bool VmIsIdentifierChar(wchar_t c) { return VmIsIdentifierStart(c) || IsDigit(c); }

VmCompiler::VmCompiler() : sink_(VmMessageBoxErrorSink::Instance()) { tokenText_[0] = 0; }

VmCompiler::~VmCompiler() {
  Reset();
  FreeBuffer(continues_);
  FreeBuffer(lineStarts_);
}

void VmCompiler::Reset() {
  while (functions_) {
    VmFunctionRecord* r = functions_;
    functions_ = r->next;
    delete r;
  }
  breakCount_ = 0;
  breakCapacity_ = 0;
  FreeBuffer(breaks_);
  breaks_ = nullptr;
  code_.Clear();
}

void VmCompiler::SetErrorSink(VmErrorSink* sink) { sink_ = sink ? sink : VmMessageBoxErrorSink::Instance(); }

void VmCompiler::ReportError(int position, const wchar_t* message) {
  if (failed_) return;  // only the first error of a compilation is told
  failed_ = true;
  errorPosition_ = position;
  sink_->ReportError(position, message);
}

void VmCompiler::AddPendingBreak(int operandOffset) {
  if (!ResizeGrowingArray(&breaks_, &breakCapacity_, breakCount_ + 1, kFirstJumpRoom)) {
    ReportError(operandOffset, L"Недостаточно памяти");
    return;
  }
  breaks_[breakCount_++] = operandOffset;
}

void VmCompiler::SetBreakCount(int count) {
  if (count >= 0 && count <= breakCount_) breakCount_ = count;
}

bool VmCompiler::Equals(const wchar_t* text) const { return tokenText_[0] == text[0] && wcscmp(tokenText_, text) == 0; }

void VmCompiler::SkipBlanks(int* position) const {
  while (*position < sourceLength_ && IsBlank(source_[*position])) ++*position;
}

int VmCompiler::GetLineAt(int position) const {
  // Binary search in the positions of the line feeds, counted once.
  if (position > sourceLength_) position = sourceLength_;
  int low = 0, high = lineCount_;
  while (low < high) {
    int mid = (low + high) / 2;
    if (lineStarts_[mid] < position) low = mid + 1;
    else high = mid;
  }
  return 1 + low;
}

bool VmCompiler::IndexLines() {
  lineCount_ = 0;
  int capacity = 0;  // the block of an earlier compilation is grown afresh
  for (int i = 0; i < sourceLength_; ++i) {
    if (source_[i] != L'\n') continue;
    if (!ResizeGrowingArray(&lineStarts_, &capacity, lineCount_ + 1, kFirstLineRoom)) return false;
    lineStarts_[lineCount_++] = i;
  }
  return true;
}

void VmCompiler::ReadString(int* position, wchar_t quote) {
  int n = 0;
  int p = *position + 1;
  while (p < sourceLength_) {
    wchar_t c = source_[p++];
    if (c == quote) break;
    if (c == L'\\') {
      if (p >= sourceLength_) break;  // a backslash that ends the source is dropped
      c = source_[p++];
      if (c == L'n') c = L'\n';
      else if (c == L'r') c = L'\r';
      else if (c == L't') c = L'\t';
    }
    if (n < kTokenChars - 1) tokenText_[n++] = c;
  }
  tokenText_[n] = 0;
  tokenKind_ = VM_TOKEN_STRING;
  *position = p;
}

void VmCompiler::ReadNumber(int* position) {
  int p = *position;
  int n = 0;
  if (p + 1 < sourceLength_ && source_[p + 1] == L'x') {
    p += 2;
    while (p < sourceLength_ && n < 8 && IsHexDigit(source_[p])) tokenText_[n++] = source_[p++];
    tokenText_[n] = 0;
    tokenKind_ = VM_TOKEN_HEX;
    *position = p;
    return;
  }
  tokenKind_ = VM_TOKEN_INTEGER;
  while (p < sourceLength_) {
    wchar_t c = source_[p];
    if (c == L'.' || c == L'e' || c == L'E') {
      tokenKind_ = VM_TOKEN_REAL;
    } else if ((c == L'+' || c == L'-') && n > 0 && (source_[p - 1] == L'e' || source_[p - 1] == L'E')) {
      // a sign right after an exponent letter
    } else if (!IsDigit(c)) {
      break;
    }
    if (n < kTokenChars - 1) tokenText_[n++] = c;  // digits beyond the buffer are read and dropped
    ++p;
  }
  tokenText_[n] = 0;
  *position = p;
}

bool VmCompiler::ReadToken(int* position) {
  tokenKind_ = VM_TOKEN_IDENTIFIER;
  int p = *position;
  for (;;) {
    while (p < sourceLength_ && IsBlank(source_[p])) ++p;
    if (p >= sourceLength_) {
      tokenText_[0] = 0;
      tokenStart_ = *position = sourceLength_;
      return false;
    }
    if (source_[p] == L'/' && p + 1 < sourceLength_ && source_[p + 1] == L'/') {
      while (p < sourceLength_ && source_[p] != L'\n') ++p;
      continue;
    }
    if (source_[p] == L'/' && p + 1 < sourceLength_ && source_[p + 1] == L'*') {
      p += 2;
      while (p < sourceLength_ && !(source_[p] == L'*' && p + 1 < sourceLength_ && source_[p + 1] == L'/')) ++p;
      p = p < sourceLength_ ? p + 2 : sourceLength_;
      continue;
    }
    break;
  }
  tokenStart_ = p;
  wchar_t c = source_[p];
  auto next = [&](int k) -> wchar_t { return p + k < sourceLength_ ? source_[p + k] : 0; };
  int n = 1;
  tokenText_[0] = c;
  if (wcschr(L"(),.:;?[]{}~", c)) {
    tokenKind_ = VM_TOKEN_PUNCT;
  } else if (c == L'+' || c == L'-' || c == L'&' || c == L'|') {
    tokenKind_ = VM_TOKEN_PUNCT;
    if (next(1) == c || next(1) == L'=') tokenText_[n++] = next(1);
  } else if (c == L'*' || c == L'%' || c == L'^' || c == L'/') {
    tokenKind_ = VM_TOKEN_PUNCT;
    if (next(1) == L'=') tokenText_[n++] = L'=';
  } else if (c == L'=' || c == L'!') {
    tokenKind_ = VM_TOKEN_PUNCT;
    if (next(1) == L'=') {
      tokenText_[n++] = L'=';
      if (next(2) == L'=') tokenText_[n++] = L'=';
    }
  } else if (c == L'<') {
    tokenKind_ = VM_TOKEN_PUNCT;
    if (next(n) == L'<' || next(n) == L'>') {
      tokenText_[n] = next(n);
      ++n;
    }
    if (next(n) == L'=') tokenText_[n++] = L'=';
  } else if (c == L'>') {
    tokenKind_ = VM_TOKEN_PUNCT;
    if (next(1) == L'>') {
      tokenText_[n++] = L'>';
      if (next(2) == L'>') tokenText_[n++] = L'>';
    }
    if (n < 3 && next(n) == L'=') tokenText_[n++] = L'=';
  } else if (c == L'"' || c == L'\'') {
    ReadString(&p, c);
    n = -1;
  } else if (IsDigit(c)) {
    ReadNumber(&p);
    n = -1;
  } else if (VmIsIdentifierStart(c)) {
    tokenKind_ = VM_TOKEN_IDENTIFIER;
    while (n < kTokenChars - 1 && p + n < sourceLength_ && VmIsIdentifierChar(source_[p + n])) {
      tokenText_[n] = source_[p + n];
      ++n;
    }
  } else {
    tokenKind_ = VM_TOKEN_UNKNOWN;
  }
  if (n >= 0) {
    tokenText_[n] = 0;
    p += n;
  }
  while (p < sourceLength_ && IsBlank(source_[p])) ++p;
  *position = p;
  return true;
}
