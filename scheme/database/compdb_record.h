// A record of a component database table: its cells, the options chosen in
// its option cells and the values of its formulas.
#pragma once

class CompDbColumn;
class CompDbTable;

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
