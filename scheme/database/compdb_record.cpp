#include "scheme/database/compdb_record.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "scheme/database/compdb_column.h"
#include "scheme/database/compdb_table.h"
#include "scheme/database/compdb_text.h"

using namespace compdb_text;

namespace {

const int kMaxPairChars = 32;   // each number of an options text
const int kMaxFormulaDepth = 200;

// A formula value that is not a finite number (a number too large for a
// double, an overflowing product, infinity minus infinity) counts as 0, as
// a division by zero does.
double FiniteOrZero(double value) { return std::isfinite(value) ? value : 0; }

// An exact integer in text[0, n): optional blanks, a sign and 1 to 9 digits,
// optional blanks. False for anything else.
bool ParseExactInteger(const char* text, int n, int* value) {
  int i = 0;
  while (i < n && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int start = i, result = 0;
  while (i < n && IsDigit(text[i])) {
    if (i - start >= kMaxKeyDigits) return false;
    result = result * 10 + (text[i] - '0');
    ++i;
  }
  if (i == start) return false;
  while (i < n && IsBlank(text[i])) ++i;
  if (i != n) return false;
  *value = negative ? -result : result;
  return true;
}

// The n-th item of a semicolon-separated list, leading blanks skipped,
// copied (at most CompDbRecord::kItemChars characters) into out. False past
// the last item or for a negative n.
bool CopyListItem(const char* list, int n, char* out) {
  if (!list || !*list || n < 0) return false;
  const char* p = list;
  for (int i = 0; i < n; ++i) {
    p = strchr(p, ';');
    if (!p) return false;
    ++p;
  }
  p = SkipBlanks(p);
  int k = 0;
  while (p[k] && p[k] != ';' && k < CompDbRecord::kItemChars) {
    out[k] = p[k];
    ++k;
  }
  out[k] = 0;
  return true;
}

int CountListItems(const char* list) {
  if (!list || !*list) return 0;
  int count = 1;
  for (const char* p = list; *p; ++p)
    if (*p == ';') ++count;
  return count;
}

// Shared result buffers: each operation's result lives until its next call.
char g_textResult[CompDbRecord::kItemChars + 1];
char g_itemResult[CompDbRecord::kItemChars + 1];
std::string g_optionsResult;

bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/'; }

int OperatorClass(char c) {
  switch (c) {
    case '+': return 0;
    case '-': return 1;
    case '*': return 2;
    default: return 3;
  }
}

// Whether the operator character at i of text[from, to) stands for an
// operator: "+" and "-" are signs in an exponent ("1e-3"), after another
// operator and after ":" or ";" (selection lists). At the start of the range
// they are operators with an empty (zero) left side.
bool IsOperatorAt(const char* text, int from, int i) {
  char c = text[i];
  if (!IsOperator(c)) return false;
  if (c == '*' || c == '/') return true;
  int j = i - 1;
  if (j > from && (text[j] == 'e' || text[j] == 'E') &&
      (IsDigit(text[j - 1]) || text[j - 1] == '.'))
    return false;
  while (j >= from && IsBlank(text[j])) --j;
  if (j < from) return true;
  char before = text[j];
  return !(IsOperator(before) || before == ':' || before == ';');
}

// Steps over text[i] of text[from, ...) while scanning at bracket depth
// *level (4 per open bracket): a bracket moves *level; an operator answers
// true with its group in *group, the class + the level with the lowest bit
// cleared, so that + and -, and * and /, are one group.
bool StepOperatorGroup(const char* text, int from, int i, int* level, int* group) {
  char c = text[i];
  if (c == '(') {
    *level += 4;
  } else if (c == ')') {
    *level -= 4;
  } else if (IsOperatorAt(text, from, i)) {
    *group = (OperatorClass(c) + *level) & ~1;
    return true;
  }
  return false;
}

}  // namespace

CompDbRecord::CompDbRecord(CompDbTable* table) : table_(table) {
  int n = table ? table->GetColumnCount() : 0;
  if (n > 0) {
    cells_ = static_cast<char**>(AllocBuffer(static_cast<size_t>(n) * sizeof(char*)));
    if (cells_) {
      for (int i = 0; i < n; ++i) cells_[i] = nullptr;
      cellCount_ = n;
    }
  }
  if (table) table->AddRecord(this);
}

CompDbRecord::~CompDbRecord() {
  for (int i = 0; i < cellCount_; ++i) FreeBuffer(cells_[i]);
  FreeBuffer(cells_);
  FreeBuffer(options_);
}

void CompDbRecord::SetCell(int column, const char* text) {
  if (column < 0) return;
  if (column >= cellCount_) {
    if (!table_ || column >= table_->GetColumnCount()) return;
    if (!ResizeSteppedArray(&cells_, cellCount_, column + 1)) return;
    cellCount_ = column + 1;
  }
  ReplaceString(&cells_[column], text);
}

const char* CompDbRecord::GetCell(int column) const {
  if (column < 0 || column >= cellCount_) return nullptr;
  return cells_[column];
}

CompDbColumn* CompDbRecord::GetColumn(int column) const {
  return table_ ? table_->GetColumn(column) : nullptr;
}

int CompDbRecord::GetColumnCount() const { return table_ ? table_->GetColumnCount() : 0; }

int CompDbRecord::FindColumn(const char* key) const {
  return table_ ? table_->FindColumn(key) : -1;
}

int CompDbRecord::GetOptionKey(int column) const {
  const char* cell = GetCell(column);
  if (!cell || cell[0] != '?') return 0;
  if (cell[1] == ':') return ~column;
  int key = 0, digits = 0;
  for (const char* p = cell + 1; IsDigit(*p); ++p) {
    if (++digits > kMaxKeyDigits) return 0;
    key = key * 10 + (*p - '0');
  }
  return key;
}

const char* CompDbRecord::GetChoiceList(int column) const {
  const char* cell = GetCell(column);
  if (!cell || cell[0] != '?') return nullptr;
  const char* colon = strchr(cell, ':');
  if (!colon) return cell + strlen(cell);
  return SkipBlanks(colon + 1);
}

int CompDbRecord::GetChoiceItemCount(int column) const {
  return CountListItems(GetChoiceList(column));
}

const char* CompDbRecord::GetChoiceItem(int column, int n, int* index) const {
  if (!CopyListItem(GetChoiceList(column), n, g_itemResult)) return nullptr;
  CompDbColumn* own = GetColumn(column);
  if (own && own->HasChoices()) {
    int number = ParseInteger(g_itemResult);
    if (index) *index = number;
    const char* choice = own->GetChoice(number);
    return choice ? choice : "";
  }
  if (index) *index = n;
  return g_itemResult;
}

bool CompDbRecord::BuildOptions() {
  if (optionCount_ >= 0) return true;
  int count = 0;
  CompDbOption* list = nullptr;
  if (cellCount_ > 0) {
    list = static_cast<CompDbOption*>(
        AllocBuffer(static_cast<size_t>(cellCount_) * sizeof(CompDbOption)));
    if (!list) return false;
  }
  for (int c = 0; c < cellCount_; ++c) {
    int key = GetOptionKey(c);
    if (key == 0) continue;
    // Cells sharing a key share one entry, so one pick sets them together.
    bool known = false;
    for (int i = 0; i < count && !known; ++i) known = list[i].key == key;
    if (known) continue;
    list[count].key = key;
    list[count].choice = 0;
    ++count;
  }
  FreeBuffer(options_);
  options_ = list;
  optionCount_ = count;
  return true;
}

int CompDbRecord::GetOptionCount() {
  return BuildOptions() ? optionCount_ : 0;
}

CompDbOption* CompDbRecord::GetOption(int i) {
  if (!BuildOptions() || i < 0 || i >= optionCount_) return nullptr;
  return &options_[i];
}

CompDbOption* CompDbRecord::FindOption(int key) {
  if (key == 0 || !BuildOptions()) return nullptr;
  for (int i = 0; i < optionCount_; ++i)
    if (options_[i].key == key) return &options_[i];
  return nullptr;
}

const char* CompDbRecord::FormatOptions() {
  g_optionsResult.clear();
  int count = GetOptionCount();
  for (int i = 0; i < count; ++i) {
    char pair[32];
    snprintf(pair, sizeof pair, "%d:%d;", options_[i].key, options_[i].choice);
    g_optionsResult += pair;
  }
  return g_optionsResult.c_str();
}

void CompDbRecord::SetOptions(const char* text) {
  if (!text) return;
  const char* p = text;
  while (*p) {
    const char* end = strchr(p, ';');
    if (!end) end = p + strlen(p);
    const char* colon = static_cast<const char*>(memchr(p, ':', end - p));
    int key = 0, choice = 0;
    if (colon && colon - p <= kMaxPairChars && end - colon - 1 <= kMaxPairChars &&
        ParseExactInteger(p, static_cast<int>(colon - p), &key) &&
        ParseExactInteger(colon + 1, static_cast<int>(end - colon - 1), &choice)) {
      CompDbOption* option = FindOption(key);
      if (option) option->choice = choice;
    }
    p = *end ? end + 1 : end;
  }
}

const char* CompDbRecord::GetText(int column) {
  const char* cell = GetCell(column);
  if (!cell) return "";
  if (cell[0] == '?') {
    CompDbOption* option = FindOption(GetOptionKey(column));
    if (!option) return "";
    if (!CopyListItem(GetChoiceList(column), option->choice, g_textResult)) return "";
    return g_textResult;
  }
  if (!strchr(cell, '!')) return cell;
  double value = EvaluateFormula(cell, -1, -1);
  CompDbColumn* own = GetColumn(column);
  bool price = own && _stricmp(own->GetExportName(), "price") == 0;
  int written = snprintf(g_textResult, sizeof g_textResult, price ? "%0.2f" : "%f", value);
  if (written < 0 || written >= static_cast<int>(sizeof g_textResult))
    snprintf(g_textResult, sizeof g_textResult, "%g", value);
  return g_textResult;
}

double CompDbRecord::GetDouble(int column) {
  const char* cell = GetCell(column);
  if (!cell) return 0;
  if (cell[0] != '?' && strchr(cell, '!')) return EvaluateFormula(cell, -1, -1);
  return ParseDecimal(GetText(column));
}

int CompDbRecord::GetInt(int column) { return ParseInteger(GetText(column)); }

const char* CompDbRecord::GetDisplayText(int column) {
  CompDbColumn* own = GetColumn(column);
  if (own && own->HasChoices()) {
    const char* choice = own->GetChoice(GetInt(column));
    return choice ? choice : "";
  }
  return GetText(column);
}

double CompDbRecord::EvaluateFormula(const char* text, int from, int to) {
  if (!text) return 0;
  size_t length = strlen(text);
  int end = length > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
  if (from < 0) from = 0;
  if (to < 0 || to > end) to = end;
  if (from >= to) return 0;
  return Evaluate(text, from, to, 0);
}

double CompDbRecord::Evaluate(const char* text, int from, int to, int depth) {
  if (depth > kMaxFormulaDepth) return 0;
  // The weakest operator group present: classes + (0) - (1) * (2) / (3)
  // plus 4 per bracket level, the lowest bit cleared so that + and -, and
  // * and /, are one group.
  int weakest = INT_MAX;
  int level = 0;
  int group = 0;
  for (int i = from; i < to; ++i) {
    if (StepOperatorGroup(text, from, i, &level, &group) && group < weakest) weakest = group;
  }
  if (weakest == INT_MAX) return EvaluateOperand(text, from, to);

  // Split at every operator of that group and fold left to right.
  double value = 0;
  char pending = 0;
  int start = from;
  level = 0;
  for (int i = from; i <= to; ++i) {
    bool split = i < to && StepOperatorGroup(text, from, i, &level, &group) && group == weakest;
    if (!split && i < to) continue;
    double operand = Evaluate(text, start, i, depth + 1);
    switch (pending) {
      case 0: value = operand; break;
      case '+': value += operand; break;
      case '-': value -= operand; break;
      case '*': value *= operand; break;
      case '/': value = operand == 0 ? 0 : value / operand; break;
    }
    value = FiniteOrZero(value);
    if (i < to) pending = text[i];
    start = i + 1;
  }
  return value;
}

double CompDbRecord::EvaluateOperand(const char* text, int from, int to) {
  while (from < to && (IsBlank(text[from]) || text[from] == '(')) ++from;
  while (to > from && (IsBlank(text[to - 1]) || text[to - 1] == ')')) --to;
  if (from >= to) return 0;
  if (text[from] != '!') return FiniteOrZero(ParseDecimal(text + from, to - from));

  // A selection: "!key:v0;v1;..." picks the value of the option's choice.
  int i = from + 1, key = 0, digits = 0;
  while (i < to && IsDigit(text[i])) {
    if (++digits > kMaxKeyDigits) return 0;
    key = key * 10 + (text[i] - '0');
    ++i;
  }
  if (i >= to || text[i] != ':') return 0;
  CompDbOption* option = FindOption(key);
  if (!option || option->choice < 0) return 0;
  int item = i + 1;
  for (int n = 0; n < option->choice; ++n) {
    while (item < to && text[item] != ';') ++item;
    if (item >= to) return 0;
    ++item;
  }
  int itemEnd = item;
  while (itemEnd < to && text[itemEnd] != ';') ++itemEnd;
  return FiniteOrZero(ParseDecimal(text + item, itemEnd - item));
}
