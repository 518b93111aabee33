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

class CompDbColumn;
class CompDbRecord;

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
