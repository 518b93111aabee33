// CVMScriptEditor "Редактор JavaScript": the property dialog of the script
// block. It holds its own copy of the pin lists and the program text while
// it is open; the block changes only when a compilation succeeds
// (CompileIntoBlock), which writes the pins, the source and the code.
#pragma once

#include <windows.h>

#include "kestui/forms/kest_form.h"
#include "script/editor/script_example.h"
#include "script/editor/script_tool_item.h"

class CBEVirtualMachine;
class CKestFont;
class CKestImageList;
class CKestLabel;
class CKestListView;
class CKestMainMenu;
class CKestMemo;
class CKestPopupMenu;
class CKestSpdBtn;
class CKestStatusBar;
class CKestTreeView;

// Commands of the pin lists, the language elements and the examples.
const UINT kScriptAddInput = 7000;
const UINT kScriptDeleteInput = 7001;
const UINT kScriptInputUp = 7002;
const UINT kScriptInputDown = 7003;
const UINT kScriptAddOutput = 7004;
const UINT kScriptDeleteOutput = 7005;
const UINT kScriptOutputUp = 7006;
const UINT kScriptOutputDown = 7007;
const UINT kScriptEditInput = 7008;
const UINT kScriptEditOutput = 7009;
const UINT kScriptInsertElement = 7010;
const UINT kScriptInsertExample = 7011;
const UINT kScriptDeleteAllInputs = 7012;
const UINT kScriptDeleteAllOutputs = 7013;

// The id of the program text's window.
const int kScriptTextId = 100;
// Characters of a pin name with its terminator.
const int kScriptPinNameChars = 64;

class CVMScriptEditor : public CKestForm {
public:
  // Builds the form on block (not owned), fills the lists and the text from
  // it, reads "jstool.txt" beside the program; not modified.
  explicit CVMScriptEditor(CBEVirtualMachine* block);
  // Deletes the language elements and the examples, then the form.
  ~CVMScriptEditor() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Compiles the text. On success the pins, the source and the code go into
  // the block, the block is sized for its pins, "Программа удачно
  // скомпилирована." is shown and the editor is no longer modified. On
  // failure (a compiler error or a pin name the language reserves) the
  // message is shown, the caret goes to the error and the block stays as it
  // was.
  bool CompileIntoBlock();
  // The field form "Поле данных" on a pin: name (in and out, a buffer of
  // kScriptPinNameChars) and type code (in and out). False when cancelled;
  // true otherwise, also when the name was refused (the type still applies).
  bool EditDataField(wchar_t* name, int* type);
  void UpdateCaption(bool modified);
  void UpdateCaretStatus();
  void UpdateInputsMenu();
  void UpdateOutputsMenu();
  // Reads "jstool.txt" from the program's folder into the tree and the
  // examples list; a missing file leaves both empty.
  void LoadToolFile();
  // Reads a language-element file named path (LoadToolFile's work).
  void LoadToolFileFrom(const wchar_t* path);

  bool IsModified() const { return modified_; }
  CBEVirtualMachine* GetBlock() const { return block_; }
  CKestMemo* GetProgramText() const { return text_; }
  CKestListView* GetInputsList() const { return inputs_; }
  CKestListView* GetOutputsList() const { return outputs_; }
  CKestTreeView* GetElementTree() const { return tree_; }
  CKestListView* GetExamplesList() const { return examples_; }
  CKestLabel* GetDescriptionLabel() const { return description_; }
  CKestStatusBar* GetStatusBar() const { return status_; }
  CKestSpdBtn* GetInputButton(int index) const { return inputButtons_[index]; }  // 0 delete, 1 up, 2 down
  CKestSpdBtn* GetOutputButton(int index) const { return outputButtons_[index]; }
  CKestPopupMenu* GetInputsMenu() const { return inputsMenu_; }
  CKestPopupMenu* GetOutputsMenu() const { return outputsMenu_; }
  CKestPopupMenu* GetTreeMenu() const { return treeMenu_; }
  CKestPopupMenu* GetExamplesMenu() const { return examplesMenu_; }
  CKestPopupMenu* GetTextMenu() const { return textMenu_; }
  HMENU GetEditMenu() const { return editMenu_; }
  ScriptToolItem* GetToolItems() const { return toolItems_; }
  ScriptExample* GetExamples() const { return exampleList_; }

private:
  class ToolTarget;

  void BuildPinPanel(CKestContainer* panel, bool inputs);
  void FillPins();
  void AddPin(bool inputs);
  void DeletePin(bool inputs);
  void MovePin(bool inputs, bool up);
  void EditPin(bool inputs);
  void DeleteAllPins(bool inputs);
  void SwapRows(CKestListView* list, int a, int b);
  void InsertElement();
  void InsertExample();
  void NewProgram();
  void OpenProgram();
  void SaveProgram();
  void OpenFind();
  // The help menu's "Примеры": the examples list gets the focus.
  void ShowExamples();
  void EnableEditMenu();
  void EnableTextMenu();
  void ElementSelected();
  bool HandleCommand(WPARAM wParam, LPARAM lParam);
  bool HandleNotify(NMHDR* header);
  bool HandleClose(WPARAM wParam);
  // A pin name the language keeps for itself; null when every pin name is
  // free to use, else the name found.
  const wchar_t* FindReservedPinName(CKestListView* list, wchar_t* buffer);

  CBEVirtualMachine* block_;
  CKestMainMenu* menu_ = nullptr;
  HMENU editMenu_ = nullptr;
  CKestListView* inputs_ = nullptr;
  CKestListView* outputs_ = nullptr;
  CKestSpdBtn* inputButtons_[3] = {};
  CKestSpdBtn* outputButtons_[3] = {};
  CKestPopupMenu* inputsMenu_ = nullptr;
  CKestPopupMenu* outputsMenu_ = nullptr;
  CKestPopupMenu* treeMenu_ = nullptr;
  CKestPopupMenu* examplesMenu_ = nullptr;
  CKestPopupMenu* textMenu_ = nullptr;
  CKestTreeView* tree_ = nullptr;
  CKestLabel* description_ = nullptr;
  CKestListView* examples_ = nullptr;
  CKestMemo* text_ = nullptr;
  CKestStatusBar* status_ = nullptr;
  CKestImageList* treeImages_ = nullptr;
  CKestImageList* exampleImages_ = nullptr;
  CKestFont* captionFont_ = nullptr;
  CKestFont* textFont_ = nullptr;
  ScriptToolItem* toolItems_ = nullptr;
  ScriptExample* exampleList_ = nullptr;
  bool modified_ = false;
};

// Whether the language keeps name for itself: a keyword or the name of a
// built-in global.
bool IsReservedScriptName(const wchar_t* name);
// Whether name is an identifier as the compiler reads one.
bool IsScriptIdentifier(const wchar_t* name);
