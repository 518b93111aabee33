// The property dialogs of block classes, by class id. The dialogs live above
// the engine and the block library (blocks/dialogs/): the program fills the
// table once at start-up, and a block's ShowProperties asks it for the dialog
// of its class, so neither the engine nor the library includes a dialog.
// Until a class's dialog is registered, ShowBlockDialog answers false and the
// block stays as it was.
#pragma once

class CBEBlock;

// Shows the modal property dialog of a block; true when the user confirmed
// and the block changed (its update operations have then run).
typedef bool (*BeBlockDialog)(CBEBlock* block);

class BeBlockDialogTable {
public:
  BeBlockDialogTable() {}
  ~BeBlockDialogTable();
  BeBlockDialogTable(const BeBlockDialogTable&) = delete;
  BeBlockDialogTable& operator=(const BeBlockDialogTable&) = delete;

  // Adds or replaces the dialog of a class (null removes it); false when
  // memory ran out (the table is then as it was).
  bool Set(unsigned int classId, BeBlockDialog dialog);
  // The dialog of a class, or null.
  BeBlockDialog Find(unsigned int classId) const;
  int Count() const { return count_; }
  // The rows in the order they were first set (0 or null past the count).
  unsigned int ClassIdAt(int i) const { return i >= 0 && i < count_ ? items_[i].classId : 0; }
  BeBlockDialog DialogAt(int i) const { return i >= 0 && i < count_ ? items_[i].dialog : nullptr; }
  void Clear();

  // The program's own table.
  static BeBlockDialogTable& Program();

private:
  struct Item {
    unsigned int classId;
    BeBlockDialog dialog;
  };
  int count_ = 0;
  Item* items_ = nullptr;
};

// Runs the dialog that the program's table holds for classId on the block.
// classId is the id of the block's own class (a class offered under several
// ids, such as the multiplier, passes its own), not necessarily that of the
// catalogue entry it was made from. False, with nothing shown and nothing
// changed, for a null block or a class without a dialog.
bool ShowBlockDialog(CBEBlock* block, unsigned int classId);
