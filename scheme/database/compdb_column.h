// A column of a component database table: caption, key, export and its own
// choices.
#pragma once

class CompDbTable;

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
