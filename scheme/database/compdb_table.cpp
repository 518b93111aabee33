#include "scheme/database/compdb_table.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "scheme/database/compdb.h"
#include "scheme/database/compdb_column.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_text.h"

using namespace compdb_text;

namespace {

const int kMaxFieldChars = 8191;
const int kColumnStep = 8;    // the column array grows in steps of this many
const int kRecordStep = 16;   // and the record array in steps of this many

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

}  // namespace

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
