#include "scheme/database/compdb.h"

#include <windows.h>

#include <cctype>
#include <cmath>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

namespace {

// ---------------------------------------------------------------------------
// Folders

class FolderText {
public:
  ~FolderText() { FreeBuffer(text_); }
  void Set(const wchar_t* path) { ReplaceString(&text_, path); }
  const wchar_t* Get() const { return text_ ? text_ : L""; }

private:
  wchar_t* text_ = nullptr;
};

FolderText& DbFolder() {
  static FolderText folder;
  return folder;
}

FolderText& ImagesFolder() {
  static FolderText folder;
  return folder;
}

// ---------------------------------------------------------------------------
// Small text helpers

const int kMaxFieldChars = 8191;
const int kMaxKeyDigits = 9;    // more digits do not fit an int: not a key
const int kMaxNumberChars = 63;
const int kMaxPairChars = 32;   // each number of an options text
const int kMaxFormulaDepth = 200;
const int kColumnStep = 8;    // the column array grows in steps of this many
const int kRecordStep = 16;   // and the record array in steps of this many

// A formula value that is not a finite number (a number too large for a
// double, an overflowing product, infinity minus infinity) counts as 0, as
// a division by zero does.
double FiniteOrZero(double value) { return std::isfinite(value) ? value : 0; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

// The decimal number at the start of text[0, n) (blanks skipped, the longest
// prefix that is a number), read with "." as the decimal point whatever the
// C locale says; 0 when there is none.
double ParseDecimal(const char* text, int n) {
  if (n > kMaxNumberChars) n = kMaxNumberChars;
  int i = 0;
  while (i < n && IsBlank(text[i])) ++i;
  char number[kMaxNumberChars + 1];
  int k = 0;
  if (i < n && (text[i] == '+' || text[i] == '-')) number[k++] = text[i++];
  int digits = 0;
  while (i < n && IsDigit(text[i])) number[k++] = text[i++], ++digits;
  if (i < n && text[i] == '.') {
    char point = '.';
    const lconv* conv = localeconv();
    if (conv && conv->decimal_point && conv->decimal_point[0]) point = conv->decimal_point[0];
    number[k++] = point;
    ++i;
    while (i < n && IsDigit(text[i])) number[k++] = text[i++], ++digits;
  }
  if (digits == 0) return 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    int j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < n && IsDigit(text[j])) {
      while (i < j) number[k++] = text[i++];
      while (i < n && IsDigit(text[i])) number[k++] = text[i++];
    }
  }
  number[k] = 0;
  return strtod(number, nullptr);
}

double ParseDecimal(const char* text) {
  return ParseDecimal(text, static_cast<int>(strnlen(text, kMaxNumberChars)));
}

// atoi without overflow: blanks, a sign and digits, clamped to the int range.
int ParseInteger(const char* text, int n) {
  int i = 0;
  while (i < n && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  while (i < n && IsDigit(text[i])) {
    if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int ParseInteger(const char* text) { return ParseInteger(text, static_cast<int>(strlen(text))); }

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

// ---------------------------------------------------------------------------
// Table file fields

class FieldReader {
public:
  FieldReader(const char* bytes, size_t size) : p_(bytes), n_(size) {}

  bool AtEnd() const { return pos_ >= n_; }
  bool AtLineEnd() const { return !AtEnd() && (p_[pos_] == '\n' || p_[pos_] == '\r'); }

  // Reads one field (at most kMaxFieldChars characters kept, the rest
  // dropped). Answers true when a TAB followed, so that the line goes on;
  // false when the line or the text ended (the line end is consumed).
  bool ReadField(std::string& out) {
    out.clear();
    if (!AtEnd() && p_[pos_] == '"') {
      ++pos_;
      while (!AtEnd()) {
        char c = p_[pos_++];
        if (c == '"') {
          if (!AtEnd() && p_[pos_] == '"') {
            ++pos_;
          } else {
            break;
          }
        }
        Keep(out, c);
      }
    }
    // Unquoted text, or what follows a closing quotation mark.
    while (!AtEnd()) {
      char c = p_[pos_];
      if (c == '\t' || c == '\r' || c == '\n') break;
      Keep(out, c);
      ++pos_;
    }
    if (AtEnd()) return false;
    if (p_[pos_] == '\t') {
      ++pos_;
      return true;
    }
    SkipLineEnd();
    return false;
  }

  // Consumes the fields left on the current line and its end.
  void SkipRestOfLine() {
    std::string ignored;
    while (ReadField(ignored)) {
    }
  }

  // Consumes LF, CR LF or a lone CR.
  void SkipLineEnd() {
    if (!AtEnd() && p_[pos_] == '\r') ++pos_;
    if (!AtEnd() && p_[pos_] == '\n') ++pos_;
  }

private:
  static void Keep(std::string& out, char c) {
    if (out.size() < static_cast<size_t>(kMaxFieldChars)) out.push_back(c);
  }

  const char* p_;
  size_t n_;
  size_t pos_ = 0;
};

// Reads the first n fields of a line into apply(i, field); a short line
// gives empty fields; the rest of the line is skipped.
template <typename Apply>
void ReadLineFields(FieldReader& reader, int n, Apply apply) {
  std::string field;
  bool lineOpen = !reader.AtEnd();
  for (int i = 0; i < n; ++i) {
    if (lineOpen) {
      lineOpen = reader.ReadField(field);
    } else {
      field.clear();
    }
    apply(i, field);
  }
  if (lineOpen) reader.SkipRestOfLine();
}

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

}  // namespace

void SetComponentDbFolder(const wchar_t* path) { DbFolder().Set(path); }
const wchar_t* GetComponentDbFolder() { return DbFolder().Get(); }
void SetImagesFolder(const wchar_t* path) { ImagesFolder().Set(path); }
const wchar_t* GetImagesFolder() { return ImagesFolder().Get(); }

// ---------------------------------------------------------------------------
// CompDbColumn

CompDbColumn::CompDbColumn(CompDbTable* table) {
  if (table) table->AddColumn(this);
}

CompDbColumn::~CompDbColumn() {
  FreeBuffer(caption_);
  FreeBuffer(key_);
  FreeBuffer(choices_);
}

void CompDbColumn::SetName(const char* text) { ReplaceString(&caption_, text); }

void CompDbColumn::SetExportName(const char* text) { ReplaceString(&key_, text); }

void CompDbColumn::SetChoices(const char* text) {
  FreeBuffer(choices_);
  choices_ = nullptr;
  choiceCount_ = 0;
  if (!text || !*text) return;
  size_t n = strlen(text);
  char* list = static_cast<char*>(AllocBuffer(n + 2));
  if (!list) return;
  int count = 1;
  for (size_t i = 0; i < n; ++i) {
    list[i] = text[i] == ';' ? 0 : text[i];
    if (text[i] == ';') ++count;
  }
  list[n] = 0;
  list[n + 1] = 0;
  choices_ = list;
  choiceCount_ = count;
}

const char* CompDbColumn::GetChoice(int n) const {
  if (!choices_ || n < 0 || n >= choiceCount_) return nullptr;
  const char* p = choices_;
  for (int i = 0; i < n; ++i) p += strlen(p) + 1;
  return SkipBlanks(p);
}

// ---------------------------------------------------------------------------
// CompDbRecord

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
  for (int i = from; i < to; ++i) {
    char c = text[i];
    if (c == '(') {
      level += 4;
    } else if (c == ')') {
      level -= 4;
    } else if (IsOperatorAt(text, from, i)) {
      int group = (OperatorClass(c) + level) & ~1;
      if (group < weakest) weakest = group;
    }
  }
  if (weakest == INT_MAX) return EvaluateOperand(text, from, to);

  // Split at every operator of that group and fold left to right.
  double value = 0;
  char pending = 0;
  int start = from;
  level = 0;
  for (int i = from; i <= to; ++i) {
    bool split = false;
    if (i < to) {
      char c = text[i];
      if (c == '(') {
        level += 4;
      } else if (c == ')') {
        level -= 4;
      } else if (IsOperatorAt(text, from, i)) {
        split = ((OperatorClass(c) + level) & ~1) == weakest;
      }
    }
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

// ---------------------------------------------------------------------------
// CompDbTable

const char* CompDbTable::PresetCaption() {
  static char caption[64];
  if (!caption[0]) {
    if (!WideCharToMultiByte(CP_ACP, 0, L"Ошибка таблицы", -1, caption, sizeof caption,
                             nullptr, nullptr))
      strcpy(caption, "?");
  }
  return caption;
}

CompDbTable::CompDbTable(const wchar_t* name) : name_(DupString(name ? name : L"")) {
  caption_ = DupStringA(PresetCaption());
}

CompDbTable::~CompDbTable() {
  ResizeRecords(0);
  ResizeColumns(0);
  FreeBuffer(name_);
  FreeBuffer(caption_);
}

void CompDbTable::SetCaption(const char* text) { ReplaceString(&caption_, text); }

CompDbColumn* CompDbTable::GetColumn(int i) const {
  if (i < 0 || i >= columnCount_) return nullptr;
  return columns_[i];
}

CompDbRecord* CompDbTable::GetRecord(int i) const {
  if (i < 0 || i >= recordCount_) return nullptr;
  return records_[i];
}

bool CompDbTable::AddColumn(CompDbColumn* column) {
  if (!ResizeSteppedArray(&columns_, columnCount_, columnCount_ + 1, kColumnStep)) return false;
  columns_[columnCount_++] = column;
  return true;
}

bool CompDbTable::AddRecord(CompDbRecord* record) {
  if (!ResizeSteppedArray(&records_, recordCount_, recordCount_ + 1, kRecordStep)) return false;
  records_[recordCount_++] = record;
  return true;
}

namespace {
// Deletes items past n, or appends new ones (each constructor appends itself
// to the table) up to n; the array is freed when it ends empty. False when
// an item could not be appended.
template <class Item>
bool ResizeOwnedArray(CompDbTable* table, Item**& items, int& count, int n) {
  if (n < 0) n = 0;
  while (count > n) delete items[--count];
  while (count < n) {
    int before = count;
    Item* item = new Item(table);
    if (count == before) {
      delete item;
      return false;
    }
  }
  if (count == 0) {
    FreeBuffer(items);
    items = nullptr;
  }
  return true;
}
}  // namespace

bool CompDbTable::ResizeColumns(int n) { return ResizeOwnedArray(this, columns_, columnCount_, n); }

bool CompDbTable::ResizeRecords(int n) { return ResizeOwnedArray(this, records_, recordCount_, n); }

int CompDbTable::FindColumn(const char* key) const {
  if (!key) return -1;
  for (int i = 0; i < columnCount_; ++i)
    if (strcmp(columns_[i]->GetExportName(), key) == 0) return i;
  return -1;
}

CompDbRecord* CompDbTable::FindRecord(const char* text) const {
  if (!text) return nullptr;
  for (int i = 0; i < recordCount_; ++i) {
    const char* first = records_[i]->GetCell(0);
    if (first && strcmp(first, text) == 0) return records_[i];
  }
  return nullptr;
}

void CompDbTable::Reset() {
  ResizeRecords(0);
  ResizeColumns(0);
  SetCaption(PresetCaption());
}

bool CompDbTable::Load() {
  Reset();
  std::wstring path = GetComponentDbFolder();
  path += GetName();
  path += L".txt";
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return false;
  std::string bytes;
  char chunk[16384];
  size_t got;
  bool failed = false;
  try {
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  } catch (...) {
    failed = true;  // out of memory
  }
  failed = failed || ferror(file) != 0;
  fclose(file);
  if (failed) return false;
  return LoadFromBytes(bytes.data(), bytes.size());
}

bool CompDbTable::LoadFromBytes(const char* bytes, size_t size) {
  try {
    return Parse(bytes, size);
  } catch (...) {
    // Out of memory part way: the table is left as a failed one.
    Reset();
    return false;
  }
}

bool CompDbTable::Parse(const char* bytes, size_t size) {
  Reset();
  if (!bytes || size == 0) return false;
  FieldReader reader(bytes, size);
  std::string field;

  // Line 1: the caption.
  bool lineOpen = reader.ReadField(field);
  SetCaption(field.c_str());
  if (lineOpen) reader.SkipRestOfLine();

  // Line 2: one column per field, "caption" or "caption:width".
  if (!reader.AtEnd()) {
    bool more = true;
    while (more) {
      more = reader.ReadField(field);
      int before = columnCount_;
      CompDbColumn* column = new CompDbColumn(this);
      if (columnCount_ == before) {
        delete column;
        Reset();
        return false;
      }
      size_t colon = field.find(':');
      if (colon != std::string::npos) {
        const char* width = SkipBlanks(field.c_str() + colon + 1);
        int digits = 0;
        while (IsDigit(width[digits])) ++digits;
        if (digits > 0 && digits <= kMaxKeyDigits) column->SetWidth(ParseInteger(width, digits));
        field.resize(colon);
      }
      column->SetName(field.c_str());
    }
  }

  // Line 3: keys, "key", "key:divisor" or "key:$".
  ReadLineFields(reader, columnCount_, [this](int i, std::string& text) {
    CompDbColumn* column = columns_[i];
    size_t colon = text.find(':');
    if (colon != std::string::npos) {
      column->SetExported(true);
      const char* rest = SkipBlanks(text.c_str() + colon + 1);
      if (*rest == '$') {
        column->SetStringExport(true);
      } else {
        column->SetDivisor(ParseDecimal(rest));
      }
      text.resize(colon);
    }
    column->SetExportName(text.c_str());
  });

  // Line 4: the columns' own choice lists.
  ReadLineFields(reader, columnCount_, [this](int i, std::string& text) {
    if (!text.empty()) columns_[i]->SetChoices(text.c_str());
  });

  // Records, one a line; empty lines hold none.
  while (!reader.AtEnd()) {
    if (reader.AtLineEnd()) {
      reader.SkipLineEnd();
      continue;
    }
    int before = recordCount_;
    CompDbRecord* record = new CompDbRecord(this);
    if (recordCount_ == before) {
      delete record;
      Reset();
      return false;
    }
    ReadLineFields(reader, columnCount_,
                   [record](int i, std::string& text) { record->SetCell(i, text.c_str()); });
  }
  return true;
}
