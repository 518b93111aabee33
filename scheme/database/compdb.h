// Component database tables: tab-separated 8-bit text files (ANSI code page)
// in the database folder, one per family of parts, read into columns and
// records whose cells are looked up by column key.
//
// File layout (fields separated by one TAB, lines end at LF, a CR before it
// is skipped; a field starting with a quotation mark runs to the closing
// quotation mark, "" standing for one, and may hold TAB, CR and LF):
//   line 1   the table caption (first field; the rest is ignored)
//   line 2   one field per column: "caption" or "caption:width"
//   line 3   one field per column: "key", "key:divisor" or "key:$"; a colon
//            marks the column exported, "$" a string export
//   line 4   one field per column: the column's own choices "a;b;c" or empty
//   line 5.. one record a line, one cell per column
// Cells: "?key:a;b;c" is an option cell (a bare "?:" gives a key private to
// the column), any other cell with "!" is a formula whose selections read
// "!key:v0;v1;v2", anything else is shown as it is.
#pragma once

#include <cstddef>

class CompDbTable;

// Program-wide folders, each kept as a copy. The database folder ends with a
// separator; a table is read from the folder + its name + ".txt".
void SetComponentDbFolder(const wchar_t* path);
const wchar_t* GetComponentDbFolder();  // never null ("" until set)
void SetImagesFolder(const wchar_t* path);
const wchar_t* GetImagesFolder();  // never null ("" until set)

class CompDbColumn {
public:
  // An empty column (width -1, not exported, divisor 0) appended to the table.
  explicit CompDbColumn(CompDbTable* table);
  ~CompDbColumn();
  CompDbColumn(const CompDbColumn&) = delete;
  CompDbColumn& operator=(const CompDbColumn&) = delete;

  void SetName(const char* text);        // the caption shown to the user
  void SetExportName(const char* text);  // the key
  // Items separated by semicolons; null or "" removes the list.
  void SetChoices(const char* text);
  void SetWidth(int width) { width_ = width; }
  void SetExported(bool exported) { exported_ = exported ? 1 : 0; }
  void SetDivisor(double divisor) { divisor_ = divisor; }
  void SetStringExport(bool on) { stringExport_ = on ? 1 : 0; }

  const char* GetName() const { return caption_ ? caption_ : ""; }
  const char* GetExportName() const { return key_ ? key_ : ""; }
  int GetWidth() const { return width_; }
  bool IsExported() const { return exported_ != 0; }
  double GetDivisor() const { return divisor_; }
  bool IsStringExport() const { return stringExport_ != 0; }
  bool HasChoices() const { return choices_ != nullptr; }
  int GetChoiceCount() const { return choiceCount_; }
  // The n-th own choice (0-based), leading blanks skipped; null past the end.
  const char* GetChoice(int n) const;

private:
  char* caption_ = nullptr;
  int width_ = -1;
  char* key_ = nullptr;
  unsigned char exported_ = 0;
  double divisor_ = 0;
  unsigned char stringExport_ = 0;
  // Items separated by 0 bytes and ended by an empty item; choiceCount_
  // counts them (empty items between others included).
  char* choices_ = nullptr;
  int choiceCount_ = 0;
};

struct CompDbOption {
  int key;     // shared option key, or the NOT of a column index (private)
  int choice;  // 0-based item of the option cells with this key
};

// Column indexes are 0-based; -1 (or any index out of range) stands for no
// column and reads as the empty text and 0.
class CompDbRecord {
public:
  static const int kItemChars = 63;  // longest item or printed value kept

  // One null cell per column of the table, option list not built; appended
  // to the table.
  explicit CompDbRecord(CompDbTable* table);
  ~CompDbRecord();
  CompDbRecord(const CompDbRecord&) = delete;
  CompDbRecord& operator=(const CompDbRecord&) = delete;

  CompDbTable* GetTable() const { return table_; }
  void SetCell(int column, const char* text);  // a copy; null makes it absent
  const char* GetCell(int column) const;       // raw text, null when absent
  CompDbColumn* GetColumn(int column) const;
  int GetColumnCount() const;
  int FindColumn(const char* key) const;  // exact, case-sensitive; -1 none

  // Options.
  // 0 for an absent cell or one not starting with "?"; ~column for "?:";
  // otherwise the number of the digits after "?" (0 when there are none or
  // more than 9 of them).
  int GetOptionKey(int column) const;
  // For an option cell: the text after its first colon, blanks skipped
  // ("" when it has no colon); null for other cells.
  const char* GetChoiceList(int column) const;
  int GetChoiceItemCount(int column) const;
  // The n-th item of the option cell (blanks skipped, at most 63 characters)
  // in a buffer the next call overwrites; null past the last item. When the
  // column has choices of its own the item is a number: *index is set to it
  // and the own choice is returned ("" when there is no such choice);
  // otherwise *index is n. index may be null.
  const char* GetChoiceItem(int column, int n, int* index) const;
  // The option of that key, building the list on first use; null for key 0
  // or a key the record does not have. The entry may be changed.
  CompDbOption* FindOption(int key);
  int GetOptionCount();
  CompDbOption* GetOption(int i);
  // Every option as "key:choice;" in column order, in a buffer the next call
  // overwrites ("" when there are none). Never cut.
  const char* FormatOptions();
  // Reads "key:choice;" pairs and sets the choice of every key the record
  // has; other keys and malformed pairs are skipped.
  void SetOptions(const char* text);

  // Values.
  // Display text of a cell: an option cell's chosen item, a formula's value
  // ("%0.2f" for the key "price" in any case, "%f" otherwise), or the cell
  // itself; "" for no cell. Never null; a buffer the next call may reuse.
  const char* GetText(int column);
  double GetDouble(int column);
  int GetInt(int column);
  // The column's own choice indexed by the cell's integer value ("" when
  // there is none) for columns with choices; otherwise GetText.
  const char* GetDisplayText(int column);
  const char* GetTextByName(const char* key) { return GetText(FindColumn(key)); }
  double GetDoubleByName(const char* key) { return GetDouble(FindColumn(key)); }
  float GetFloatByName(const char* key) { return static_cast<float>(GetDoubleByName(key)); }
  int GetIntByName(const char* key) { return GetInt(FindColumn(key)); }

  // The value of text[from, to) (to exclusive; -1 means the start and the
  // end). Operators + - * / with brackets, one class evaluated left to right;
  // a sign after an operator, "(", ":" or ";" or in an exponent is part of
  // the number; "!key:v0;v1" selects by the option's choice; division by
  // zero gives 0.
  double EvaluateFormula(const char* text, int from, int to);

private:
  bool BuildOptions();
  double Evaluate(const char* text, int from, int to, int depth);
  double EvaluateOperand(const char* text, int from, int to);

  CompDbTable* table_;
  char** cells_ = nullptr;
  int cellCount_ = 0;
  int optionCount_ = -1;
  CompDbOption* options_ = nullptr;
};

class CompDbTable {
public:
  // The caption a table shows until it loads: "Ошибка таблицы".
  static const char* PresetCaption();

  explicit CompDbTable(const wchar_t* name);
  ~CompDbTable();
  CompDbTable(const CompDbTable&) = delete;
  CompDbTable& operator=(const CompDbTable&) = delete;

  // Reads database folder + name + ".txt". False when the file cannot be
  // opened, is empty or cannot be read in full; the table then has the
  // preset caption and no columns or records.
  bool Load();
  // Reads a table from its file bytes (the same rules as Load).
  bool LoadFromBytes(const char* bytes, size_t size);

  CompDbRecord* FindRecord(const char* text) const;  // by first cell, exact
  int FindColumn(const char* key) const;

  void SetCaption(const char* text);
  bool ResizeColumns(int n);  // shrinking deletes the columns dropped
  bool ResizeRecords(int n);  // shrinking deletes the records dropped

  const wchar_t* GetName() const { return name_ ? name_ : L""; }
  const char* GetCaption() const { return caption_ ? caption_ : ""; }
  int GetColumnCount() const { return columnCount_; }
  CompDbColumn* GetColumn(int i) const;
  int GetRecordCount() const { return recordCount_; }
  CompDbRecord* GetRecord(int i) const;

private:
  friend class CompDbColumn;
  friend class CompDbRecord;
  bool AddColumn(CompDbColumn* column);
  bool AddRecord(CompDbRecord* record);
  void Reset();
  bool Parse(const char* bytes, size_t size);

  int columnCount_ = 0;
  CompDbColumn** columns_ = nullptr;
  int recordCount_ = 0;
  CompDbRecord** records_ = nullptr;
  wchar_t* name_ = nullptr;
  char* caption_ = nullptr;
};
