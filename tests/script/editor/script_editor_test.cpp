// The script editor on a script block, under Xvfb: the pin lists and their
// field form, compiling into the block, Open and Save in both encodings,
// the close check, the language elements and examples, and the find dialog.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "foundation/buffers.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/bars/kest_status_bar.h"
#include "kestui/buttons/kest_label.h"
#include "blocks/engine/block_host.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_memo.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_list_view.h"
#include "kestui/lists/kest_tree_view.h"
#include "kestui/menus/kest_popup_menu.h"
#include "script/compiler/vm_compiler.h"
#include "script/compiler/vm_error_sink.h"
#include "script/editor/script_editor.h"
#include "script/editor/script_tool_file.h"
#include "script/editor/search_form.h"
#include "script/script_block.h"
#include "script/script_resources.h"
#include "support/live_forms.h"
#include "support/test_support.h"

namespace {

using velktest::DialogAnswerer;
using velktest::FlushEvents;

// The field form "Поле данных" is a framework form, not a dialog: this hook
// answers it when it becomes active, with a name, a type and a result.
class FieldFormAnswerer {
public:
  struct Answer {
    std::wstring name;  // empty: leave the edit as it is
    int typeIndex;      // -1: leave the type as it is
    int result;         // 1 OK, 2 cancel
  };
  explicit FieldFormAnswerer(std::vector<Answer> answers) : answers_(std::move(answers)) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
  }
  ~FieldFormAnswerer() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  int Count() const { return count_; }
  const std::vector<std::wstring>& ShownNames() const { return shownNames_; }

private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_) current_->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static BOOL CALLBACK FindChild(HWND child, LPARAM lParam) {
    auto* self = reinterpret_cast<FieldFormAnswerer*>(lParam);
    wchar_t cls[32] = L"";
    GetClassNameW(child, cls, 32);
    if (_wcsicmp(cls, L"Edit") == 0 && !self->edit_) self->edit_ = child;
    if (_wcsicmp(cls, L"ComboBox") == 0) self->combo_ = child;
    return TRUE;
  }
  void OnActivate(HWND window) {
    wchar_t caption[64] = L"";
    GetWindowTextW(window, caption, 64);
    if (wcscmp(caption, L"Поле данных") != 0 || GetPropW(window, L"VelkFieldAnswered")) return;
    SetPropW(window, L"VelkFieldAnswered", reinterpret_cast<HANDLE>(1));
    Answer answer = answers_.empty() ? Answer{L"", -1, 2}
                                     : answers_[static_cast<size_t>(count_) < answers_.size() ? count_ : answers_.size() - 1];
    ++count_;
    edit_ = combo_ = nullptr;
    EnumChildWindows(window, FindChild, reinterpret_cast<LPARAM>(this));
    wchar_t shown[80] = L"";
    if (edit_) GetWindowTextW(edit_, shown, 80);
    shownNames_.push_back(shown);
    if (edit_ && !answer.name.empty()) SetWindowTextW(edit_, answer.name.c_str());
    if (combo_ && answer.typeIndex >= 0) SendMessageW(combo_, CB_SETCURSEL, answer.typeIndex, 0);
    PostMessageW(window, WM_CLOSE, answer.result, 0);
  }

  static FieldFormAnswerer* current_;
  HHOOK hook_ = nullptr;
  std::vector<Answer> answers_;
  int count_ = 0;
  std::vector<std::wstring> shownNames_;
  HWND edit_ = nullptr;
  HWND combo_ = nullptr;
};
FieldFormAnswerer* FieldFormAnswerer::current_ = nullptr;

// Type rows of the field form's list: bit, char, short, int, float, double.
const int kFloatRow = 4, kIntRow = 3;

// The file dialogs answer with a path and a filter chosen by the test.
std::wstring g_dialogPath;
int g_dialogFilter = 1;
BOOL AnswerFileDialog(OPENFILENAMEW* info) {
  wcsncpy(info->lpstrFile, g_dialogPath.c_str(), info->nMaxFile - 1);
  info->nFilterIndex = static_cast<DWORD>(g_dialogFilter);
  return TRUE;
}
const KestCommonDialogSeam kFileSeam = {AnswerFileDialog, AnswerFileDialog, nullptr, nullptr};

std::wstring ScreenshotFolder() {
  wchar_t exe[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe, n);
  for (int up = 0; up < 2; ++up) folder = folder.substr(0, folder.find_last_of(L"\\/"));
  folder += L"\\screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::wstring WindowCaption(HWND window) {
  wchar_t text[256] = L"";
  GetWindowTextW(window, text, 256);
  return text;
}

// Replaces the whole text as typing would (a multi-line edit does not tell
// its form about WM_SETTEXT).
void Type(CVMScriptEditor* editor, const wchar_t* text) {
  editor->GetProgramText()->SelectAll();
  editor->GetProgramText()->ReplaceSelection(text);
}

// The first error a compilation reports, and where.
class RecordingSink : public VmErrorSink {
public:
  void ReportError(int position, const wchar_t* message) override {
    if (!messages.empty()) return;
    messages.push_back(message ? message : L"");
    positions.push_back(position);
  }
  std::vector<std::wstring> messages;
  std::vector<int> positions;
};

class ScriptEditorTest : public ::testing::Test {
protected:
  ScriptEditorTest() {
    savedFilter_ = LastFileFilterIndex;
    savedSearchText_ = LastSearchText;
    LastSearchText = nullptr;
    // The program's main form, which owns the editor and its field forms.
    mainForm = new CKestForm();
    mainForm->Create(nullptr, L"Velkboard", KEST_POS_CENTER, 400, 300, nullptr, true, true, true, true);
  }
  ~ScriptEditorTest() override {
    velktest::CloseAllLiveForms();
    SetCommonDialogSeam(nullptr);
    LastFileFilterIndex = savedFilter_;
    FreeBuffer(LastSearchText);
    LastSearchText = savedSearchText_;
    OpenSearchForm = nullptr;
  }

  CVMScriptEditor* Open() {
    editor = new CVMScriptEditor(&block);
    EXPECT_NE(editor->GetHandle(), nullptr);
    return editor;
  }
  void Command(UINT id) { SendMessageW(editor->GetHandle(), WM_COMMAND, id, 0); }
  std::vector<std::wstring> Rows(CKestListView* list, int column = 0) {
    std::vector<std::wstring> rows;
    for (int i = 0; i < list->GetItemCount(); ++i) {
      wchar_t text[80] = L"";
      list->GetItemText(i, column, text, 80);
      rows.push_back(text);
    }
    return rows;
  }
  std::wstring Text() {
    wchar_t* text = editor->GetProgramText()->GetText();
    std::wstring copy = text ? text : L"";
    FreeBuffer(text);
    return copy;
  }
  void Select(CKestListView* list, int row) {
    int old = list->GetSelectedIndex();
    if (old >= 0) list->SelectItem(old, false);
    list->SelectItem(row, true);
  }
  // Adds pins through the add command, the field form cancelled each time.
  void AddPins(UINT command, int count) {
    FieldFormAnswerer cancel({{L"", -1, 2}});
    for (int i = 0; i < count; ++i) Command(command);
    EXPECT_EQ(cancel.Count(), count);
  }
  // A compiled script in the block: in1 char, out1 float, out1 = in1 * 2.
  void CompileStartingScript() {
    Open();
    AddPins(kScriptAddInput, 1);
    FieldFormAnswerer rename({{L"", kFloatRow, 1}});
    Command(kScriptAddOutput);
    editor->GetProgramText()->SetText(L"out1 = in1 * 2;");
    DialogAnswerer ok(IDOK);
    ASSERT_TRUE(editor->CompileIntoBlock());
  }

  CBEVirtualMachine block;
  CKestForm* mainForm = nullptr;
  CVMScriptEditor* editor = nullptr;

private:
  int savedFilter_;
  wchar_t* savedSearchText_;
};

TEST_F(ScriptEditorTest, OpensOnTheBlocksPinsAndSource) {
  block.SetInputPins(2);
  block.SetInputName(0, L"a");
  block.SetInputName(1, L"b");
  block.Input(1)->type = kBeSignalDouble;
  block.SetOutputPins(1);
  block.SetOutputName(0, L"y");
  block.Output(0)->type = kBeSignalInt;
  block.SetSource(L"y = a;\r\nb = 1;");
  Open();
  EXPECT_EQ(WindowCaption(editor->GetHandle()), L"Редактор JavaScript");
  EXPECT_EQ(GetWindow(editor->GetHandle(), GW_OWNER), mainForm->GetHandle());
  EXPECT_EQ(Rows(editor->GetInputsList()), (std::vector<std::wstring>{L"a", L"b"}));
  EXPECT_EQ(Rows(editor->GetInputsList(), 1), (std::vector<std::wstring>{L"bit", L"double"}));
  EXPECT_EQ(Rows(editor->GetOutputsList()), (std::vector<std::wstring>{L"y"}));
  EXPECT_EQ(Rows(editor->GetOutputsList(), 1), (std::vector<std::wstring>{L"int"}));
  EXPECT_EQ(Text(), L"y = a;\r\nb = 1;");
  EXPECT_FALSE(editor->IsModified());
  // Nothing selected: the row buttons and popup entries are off.
  EXPECT_FALSE(editor->GetInputButton(0)->IsEnabled());
  EXPECT_EQ(GetMenuState(editor->GetInputsMenu()->GetHandle(), 3, MF_BYPOSITION) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(GetMenuState(editor->GetInputsMenu()->GetHandle(), 2, MF_BYPOSITION) & MF_GRAYED, 0u);
  // The caret starts at line 1, column 1.
  wchar_t panel[16] = L"";
  SendMessageW(editor->GetStatusBar()->GetHandle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(panel));
  EXPECT_STREQ(panel, L"\t1");
  SendMessageW(editor->GetStatusBar()->GetHandle(), SB_GETTEXTW, 3, reinterpret_cast<LPARAM>(panel));
  EXPECT_STREQ(panel, L"\t1");
  // The menu bar comes from the resources.
  HMENU bar = GetMenu(editor->GetHandle());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), 4);
  EXPECT_EQ(GetMenuItemID(editor->GetEditMenu(), 9), static_cast<UINT>(ID_SCRIPT_FIND));
}

TEST_F(ScriptEditorTest, TypingMarksModifiedAndMovesTheCaretStatus) {
  Open();
  EXPECT_FALSE(editor->IsModified());
  Type(editor, L"var a;\r\n  b = 1;");
  EXPECT_TRUE(editor->IsModified());
  EXPECT_EQ(WindowCaption(editor->GetHandle()), L"Редактор JavaScript *");
  wchar_t panel[16] = L"";
  SendMessageW(editor->GetStatusBar()->GetHandle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(panel));
  EXPECT_STREQ(panel, L"\t2");
  SendMessageW(editor->GetStatusBar()->GetHandle(), SB_GETTEXTW, 3, reinterpret_cast<LPARAM>(panel));
  EXPECT_STREQ(panel, L"\t9");
}

TEST_F(ScriptEditorTest, EditMenuAndTextPopupFollowTheSelection) {
  Open();
  HMENU edit = editor->GetEditMenu();
  HMENU popup = editor->GetTextMenu()->GetHandle();
  auto grayed = [](HMENU menu, UINT position) { return (GetMenuState(menu, position, MF_BYPOSITION) & MF_GRAYED) != 0; };
  auto popupGrayed = [&](UINT id) { return (GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
  Type(editor, L"abc");
  editor->GetProgramText()->SetSelection(3, 3);
  SendMessageW(editor->GetHandle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  SendMessageW(editor->GetHandle(), WM_KEST_MBUTTONDOWN, kScriptTextId,
               reinterpret_cast<LPARAM>(editor->GetProgramText()->GetHandle()));
  EXPECT_FALSE(grayed(edit, 0));  // typing can be undone
  EXPECT_TRUE(grayed(edit, 2));
  EXPECT_TRUE(grayed(edit, 3));
  EXPECT_TRUE(grayed(edit, 5));
  EXPECT_TRUE(popupGrayed(ID_SCRIPT_COPY));
  EXPECT_TRUE(popupGrayed(ID_SCRIPT_CUT));
  EXPECT_TRUE(popupGrayed(ID_SCRIPT_DELETE));
  editor->GetProgramText()->SetSelection(0, 2);
  SendMessageW(editor->GetHandle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  SendMessageW(editor->GetHandle(), WM_KEST_MBUTTONDOWN, kScriptTextId,
               reinterpret_cast<LPARAM>(editor->GetProgramText()->GetHandle()));
  EXPECT_FALSE(grayed(edit, 2));
  EXPECT_FALSE(grayed(edit, 3));
  EXPECT_FALSE(grayed(edit, 5));
  EXPECT_FALSE(popupGrayed(ID_SCRIPT_COPY));
  EXPECT_FALSE(popupGrayed(ID_SCRIPT_CUT));
  EXPECT_FALSE(popupGrayed(ID_SCRIPT_DELETE));
  // The Edit menu's delete removes the selection.
  Command(ID_SCRIPT_DELETE);
  EXPECT_EQ(Text(), L"c");
}

TEST_F(ScriptEditorTest, AddedPinsAreNumberedAfterTheRowCount) {
  Open();
  AddPins(kScriptAddInput, 3);
  EXPECT_EQ(Rows(editor->GetInputsList()), (std::vector<std::wstring>{L"in1", L"in2", L"in3"}));
  EXPECT_EQ(Rows(editor->GetInputsList(), 1), (std::vector<std::wstring>{L"char", L"char", L"char"}));
  EXPECT_EQ(editor->GetInputsList()->GetSelectedIndex(), 2);
  EXPECT_TRUE(editor->GetInputButton(0)->IsEnabled());
  EXPECT_TRUE(editor->IsModified());
  EXPECT_EQ(WindowCaption(editor->GetHandle()), L"Редактор JavaScript *");
  Select(editor->GetInputsList(), 1);
  Command(kScriptDeleteInput);
  AddPins(kScriptAddInput, 1);
  EXPECT_EQ(Rows(editor->GetInputsList()), (std::vector<std::wstring>{L"in1", L"in3", L"in3"}));
  AddPins(kScriptAddOutput, 1);
  EXPECT_EQ(Rows(editor->GetOutputsList()), (std::vector<std::wstring>{L"out1"}));
}

TEST_F(ScriptEditorTest, TheFieldFormRenamesAndRetypesAndRefusesBadNames) {
  Open();
  {
    FieldFormAnswerer answer({{L"speed", kFloatRow, 1}});
    Command(kScriptAddOutput);
    EXPECT_EQ(answer.ShownNames(), (std::vector<std::wstring>{L"out1"}));
  }
  EXPECT_EQ(Rows(editor->GetOutputsList()), (std::vector<std::wstring>{L"speed"}));
  EXPECT_EQ(Rows(editor->GetOutputsList(), 1), (std::vector<std::wstring>{L"float"}));

  struct Case {
    const wchar_t* name;
    bool accepted;
    const wchar_t* text;
  } cases[] = {
      {L"1x", false, L"Название входа или выхода должно соответствовать требованиям к названиям переменных языка"},
      {L"a-b", false, L"Название входа или выхода должно соответствовать требованиям к названиям переменных языка"},
      {L"a b", false, L"Название входа или выхода должно соответствовать требованиям к названиям переменных языка"},
      {L"while", false, L"Название входа или выхода не может совпадать с ключевым словом или встроенным именем языка"},
      {L"Math", false, L"Название входа или выхода не может совпадать с ключевым словом или встроенным именем языка"},
      {L"скорость", true, nullptr},
      {L"_v2", true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    wchar_t before[80] = L"";
    editor->GetOutputsList()->GetItemText(0, 0, before, 80);
    FieldFormAnswerer answer({{c.name, kIntRow, 1}});
    DialogAnswerer boxes(IDOK);
    Command(kScriptEditOutput);
    EXPECT_EQ(answer.Count(), 1);
    // The type applies either way.
    EXPECT_EQ(Rows(editor->GetOutputsList(), 1), (std::vector<std::wstring>{L"int"}));
    if (c.accepted) {
      EXPECT_EQ(boxes.Count(), 0);
      EXPECT_EQ(Rows(editor->GetOutputsList()), (std::vector<std::wstring>{c.name}));
    } else {
      ASSERT_EQ(boxes.Count(), 1);
      EXPECT_EQ(boxes.Captions()[0], L"Неверное название");
      EXPECT_EQ(boxes.Texts()[0], c.text);
      EXPECT_EQ(Rows(editor->GetOutputsList()), (std::vector<std::wstring>{before}));
    }
    editor->GetOutputsList()->SetItemText(0, 1, L"float");
  }
  // Cancel changes nothing.
  FieldFormAnswerer cancel({{L"other", 0, 2}});
  Command(kScriptEditOutput);
  EXPECT_EQ(Rows(editor->GetOutputsList()), (std::vector<std::wstring>{L"_v2"}));
  EXPECT_EQ(Rows(editor->GetOutputsList(), 1), (std::vector<std::wstring>{L"float"}));
}

TEST_F(ScriptEditorTest, RowsMoveUpAndDownWithBothColumns) {
  Open();
  AddPins(kScriptAddInput, 3);
  CKestListView* list = editor->GetInputsList();
  list->SetItemText(2, 1, L"double");
  Command(kScriptInputUp);  // in3 is selected
  EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"in1", L"in3", L"in2"}));
  EXPECT_EQ(Rows(list, 1), (std::vector<std::wstring>{L"char", L"double", L"char"}));
  EXPECT_EQ(list->GetSelectedIndex(), 1);
  Command(kScriptInputUp);
  Command(kScriptInputUp);  // already first: nothing
  EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"in3", L"in1", L"in2"}));
  EXPECT_EQ(list->GetSelectedIndex(), 0);
  Select(list, 1);
  Command(kScriptInputDown);
  Command(kScriptInputDown);  // already last: nothing
  EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"in3", L"in2", L"in1"}));
  EXPECT_EQ(list->GetSelectedIndex(), 2);
}

TEST_F(ScriptEditorTest, DeleteAllAsksFirst) {
  Open();
  AddPins(kScriptAddOutput, 2);
  {
    DialogAnswerer no(IDNO);
    Command(kScriptDeleteAllOutputs);
    ASSERT_EQ(no.Count(), 1);
    EXPECT_EQ(no.Captions()[0], L"Внимание");
    EXPECT_EQ(no.Texts()[0], L"Удалить все выходы?");
  }
  EXPECT_EQ(editor->GetOutputsList()->GetItemCount(), 2);
  DialogAnswerer yes(IDYES);
  Command(kScriptDeleteAllOutputs);
  EXPECT_EQ(editor->GetOutputsList()->GetItemCount(), 0);
  EXPECT_FALSE(editor->GetOutputButton(0)->IsEnabled());
}

TEST_F(ScriptEditorTest, NewProgramEmptiesTextAndLists) {
  block.SetSource(L"x = 1;");
  Open();
  AddPins(kScriptAddInput, 1);
  DialogAnswerer yes(IDYES);
  Command(ID_SCRIPT_NEW);
  ASSERT_EQ(yes.Count(), 1);
  EXPECT_EQ(yes.Captions()[0], L"Новая программа");
  EXPECT_EQ(Text(), L"");
  EXPECT_EQ(editor->GetInputsList()->GetItemCount(), 0);
  EXPECT_STREQ(block.Source(), L"x = 1;");  // the block waits for a compilation
}

TEST_F(ScriptEditorTest, AGoodCompilationWritesPinsSourceAndCode) {
  CompileStartingScript();
  EXPECT_EQ(block.inputCount, 1);
  EXPECT_STREQ(block.Input(0)->name, L"in1");
  EXPECT_EQ(block.Input(0)->type, kBeSignalChar);
  EXPECT_EQ(block.outputCount, 1);
  EXPECT_STREQ(block.Output(0)->name, L"out1");
  EXPECT_EQ(block.Output(0)->type, kBeSignalFloat);
  EXPECT_STREQ(block.Source(), L"out1 = in1 * 2;");
  VmCompiler reference;
  RecordingSink sink;
  reference.SetErrorSink(&sink);
  ASSERT_TRUE(reference.Compile(L"out1 = in1 * 2;"));
  ASSERT_EQ(block.Machine()->CodeSize(), reference.GetCodeSize());
  EXPECT_EQ(memcmp(block.Machine()->Code(), reference.GetCode(), static_cast<size_t>(reference.GetCodeSize())), 0);
  EXPECT_EQ(block.rect.bottom - block.rect.top, CBEVirtualMachine::kMinHeight);
  EXPECT_FALSE(editor->IsModified());
  EXPECT_EQ(WindowCaption(editor->GetHandle()), L"Редактор JavaScript");
}

TEST_F(ScriptEditorTest, CompilationToldAndF9Compiles) {
  Open();
  editor->GetProgramText()->SetText(L"var x = 1;");
  DialogAnswerer ok(IDOK);
  MSG key = {editor->GetProgramText()->GetHandle(), WM_KEYDOWN, VK_F9, 0, 0, {0, 0}};
  ASSERT_TRUE(TranslateAcceleratorW(editor->GetHandle(), editor->GetAccelerators(), &key));
  ASSERT_EQ(ok.Count(), 1);
  EXPECT_EQ(ok.Captions()[0], L"Компиляция");
  EXPECT_EQ(ok.Texts()[0], L"Программа удачно скомпилирована.");
  EXPECT_STREQ(block.Source(), L"var x = 1;");
}

TEST_F(ScriptEditorTest, AFailedCompilationLeavesTheBlockAsItWas) {
  CompileStartingScript();
  std::vector<unsigned char> code(block.Machine()->Code(), block.Machine()->Code() + block.Machine()->CodeSize());
  RECT rect = block.rect;
  AddPins(kScriptAddInput, 2);
  const wchar_t bad[] = L"out1 = in1;\r\nx = (2 + ;";
  editor->GetProgramText()->SetText(bad);
  VmCompiler reference;
  RecordingSink sink;
  reference.SetErrorSink(&sink);
  ASSERT_FALSE(reference.Compile(bad));
  ASSERT_EQ(sink.messages.size(), 1u);
  DialogAnswerer ok(IDOK);
  EXPECT_FALSE(editor->CompileIntoBlock());
  ASSERT_EQ(ok.Count(), 1);
  EXPECT_EQ(ok.Captions()[0], L"Ошибка");
  EXPECT_EQ(ok.Texts()[0], sink.messages[0]);
  EXPECT_EQ(editor->GetProgramText()->GetSelStart(), sink.positions[0]);
  EXPECT_EQ(editor->GetProgramText()->GetSelEnd(), sink.positions[0]);
  EXPECT_GT(sink.positions[0], 13);  // on the second line
  EXPECT_EQ(block.inputCount, 1);
  EXPECT_STREQ(block.Input(0)->name, L"in1");
  EXPECT_STREQ(block.Source(), L"out1 = in1 * 2;");
  ASSERT_EQ(block.Machine()->CodeSize(), static_cast<int>(code.size()));
  EXPECT_EQ(memcmp(block.Machine()->Code(), code.data(), code.size()), 0);
  EXPECT_EQ(block.rect.bottom, rect.bottom);
  EXPECT_TRUE(editor->IsModified());
}

TEST_F(ScriptEditorTest, AReservedPinNameFromAnOlderRecordIsRefused) {
  block.SetInputPins(1);
  block.SetInputName(0, L"Math");
  block.SetSource(L"x = 1;");
  Open();
  DialogAnswerer ok(IDOK);
  EXPECT_FALSE(editor->CompileIntoBlock());
  ASSERT_EQ(ok.Count(), 1);
  EXPECT_EQ(ok.Captions()[0], L"Неверное название");
  EXPECT_EQ(block.Machine()->CodeSize(), 0);
}

TEST_F(ScriptEditorTest, SaveAndOpenInBothEncodings) {
  velktest::TempFolder folder;
  SetCommonDialogSeam(&kFileSeam);
  Open();
  const wchar_t program[] = L"var s = \"Привет\";\r\n";
  editor->GetProgramText()->SetText(program);
  // Saving keeps the modified flag as it is.
  bool modified = editor->IsModified();
  g_dialogPath = folder.File(L"ansi.js");
  g_dialogFilter = 1;
  Command(ID_SCRIPT_SAVE);
  EXPECT_TRUE(velktest::BytesEqual(folder.ReadFile(L"ansi.js"),
                                   velktest::ParseHex("76 61 72 20 73 20 3D 20 22 CF F0 E8 E2 E5 F2 22 3B 0D 0A")));
  g_dialogPath = folder.File(L"utf8.js");
  g_dialogFilter = 2;
  Command(ID_SCRIPT_SAVE);
  EXPECT_TRUE(velktest::BytesEqual(folder.ReadFile(L"utf8.js"),
                                   velktest::ParseHex("76 61 72 20 73 20 3D 20 22 D0 9F D1 80 D0 B8 D0 B2 D0 B5 D1 82 "
                                                      "22 3B 0D 0A")));
  EXPECT_EQ(editor->IsModified(), modified);

  struct Case {
    const wchar_t* file;
    int filter;
    bool same;
  } cases[] = {
      {L"ansi.js", 1, true},  {L"ansi.js", 2, true},  {L"ansi.js", 4, true},
      {L"utf8.js", 3, true},  {L"utf8.js", 1, false},  // no byte-order mark: read as ANSI
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.filter);
    editor->GetProgramText()->SetText(L"");
    g_dialogPath = folder.File(c.file);
    g_dialogFilter = c.filter;
    Command(ID_SCRIPT_OPEN);
    EXPECT_EQ(Text() == program, c.same) << Text().size();
    EXPECT_TRUE(editor->IsModified());
  }
}

TEST_F(ScriptEditorTest, FileErrorsAreTold) {
  velktest::TempFolder folder;
  SetCommonDialogSeam(&kFileSeam);
  Open();
  editor->GetProgramText()->SetText(L"x = 1;");
  DialogAnswerer ok(IDOK);
  g_dialogPath = folder.File(L"missing.js");
  g_dialogFilter = 1;
  Command(ID_SCRIPT_OPEN);
  g_dialogPath = folder.File(L"no folder\\x.js");
  Command(ID_SCRIPT_SAVE);
  EXPECT_EQ(ok.Texts(), (std::vector<std::wstring>{L"Ошибка открытия файла!", L"Ошибка создания файла!"}));
  EXPECT_EQ(ok.Captions(), (std::vector<std::wstring>{L"Ошибка", L"Ошибка"}));
  EXPECT_EQ(Text(), L"x = 1;");
}

// Runs steps on the modal editor from a timer, one per tick while the
// editor is enabled (not under a message box).
struct ModalScript {
  std::vector<std::function<void(CVMScriptEditor*)>> steps;
  size_t next = 0;
  static ModalScript* current;
  static BOOL CALLBACK Find(HWND window, LPARAM lParam) {
    if (wcsncmp(WindowCaption(window).c_str(), L"Редактор JavaScript", 19) == 0 && IsWindowVisible(window)) {
      *reinterpret_cast<HWND*>(lParam) = window;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&window));
    if (!window || !IsWindowEnabled(window) || !current || current->next >= current->steps.size()) return;
    auto* editor = dynamic_cast<CVMScriptEditor*>(GetControlFromHandle(window));
    if (editor) current->steps[current->next++](editor);
  }
  bool Run(CBEVirtualMachine* block) {
    current = this;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
    bool result = block->ShowProperties();
    KillTimer(nullptr, timer);
    current = nullptr;
    FlushEvents();
    return result;
  }
};
ModalScript* ModalScript::current = nullptr;

void PostClose(CVMScriptEditor* editor) { PostMessageW(editor->GetHandle(), WM_CLOSE, 0, 0); }


TEST_F(ScriptEditorTest, TheCloseCheck) {
  block.SetSource(L"x = 1;");
  {
    // Unchanged: closes with OK, no question.
    DialogAnswerer boxes(IDOK);
    ModalScript script{{PostClose}};
    EXPECT_TRUE(script.Run(&block));
    EXPECT_EQ(boxes.Count(), 0);
  }
  static int changes = 0;
  static bool modifiedAtClose = false;
  auto change = [](CVMScriptEditor* editor) {
    ++changes;
    Type(editor, L"y = 2;");
    modifiedAtClose = editor->IsModified();
    PostClose(editor);
  };
  {
    // No: closes, the block stays.
    DialogAnswerer boxes(IDNO);
    ModalScript script{{change}};
    EXPECT_FALSE(script.Run(&block));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(modifiedAtClose);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Captions()[0], L"Выход и сохранение");
    EXPECT_EQ(boxes.Texts()[0],
              L"Настройки были изменены. Чтобы они вступили в силу необходиом скомпилировать программу. Сделать это сейчас?");
    EXPECT_STREQ(block.Source(), L"x = 1;");
  }
  {
    // Cancel keeps the editor; a bad program under Yes keeps it too, with
    // the caret at the error; then No.
    DialogAnswerer boxes({IDCANCEL, IDYES, IDOK, IDNO});
    bool openAfterCancel = false, openAfterError = false;
    int caret = -1;
    ModalScript script{{[](CVMScriptEditor* editor) {
                          Type(editor, L"y = ;");
                          PostClose(editor);
                        },
                        [&](CVMScriptEditor* editor) {
                          openAfterCancel = true;
                          PostClose(editor);
                        },
                        [&](CVMScriptEditor* editor) {
                          openAfterError = true;
                          caret = editor->GetProgramText()->GetSelStart();
                          PostClose(editor);
                        }}};
    EXPECT_FALSE(script.Run(&block));
    EXPECT_TRUE(openAfterCancel);
    EXPECT_TRUE(openAfterError);
    EXPECT_EQ(caret, 4);
    EXPECT_EQ(boxes.Count(), 4);
    EXPECT_STREQ(block.Source(), L"x = 1;");
  }
  {
    // Yes with a good program compiles and closes with OK.
    DialogAnswerer boxes({IDYES, IDOK});
    ModalScript script{{change}};
    EXPECT_TRUE(script.Run(&block));
    EXPECT_EQ(boxes.Count(), 2);
    EXPECT_STREQ(block.Source(), L"y = 2;");
    EXPECT_GT(block.Machine()->CodeSize(), 0);
  }
}

// Velkboard's answer to a block's properties: the block's own dialog.
class BlockDialogHost : public CBlockHost {
public:
  bool ShowBlockProperties(CBEBlock* block) override { return block && block->ShowProperties(); }
};

TEST_F(ScriptEditorTest, ADoubleClickOnAScriptBlockOpensTheEditor) {
  ASSERT_TRUE(mainForm->CreateMDIClient());
  mainForm->Show(false);
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  ASSERT_TRUE(AddScriptBlockEntry(catalogue.AddGroup(L"Интеллект")));
  BeScheme scheme;
  scheme.Init(&catalogue);
  CBEBlock* scriptBlock = scheme.CreateBlock(kScriptBlockClassId);
  ASSERT_NE(scriptBlock, nullptr);
  scriptBlock->MoveTo(20, 20);
  auto* blockEditor = new CBEEditor(mainForm, &scheme);
  ASSERT_NE(blockEditor->GetHandle(), nullptr);
  MoveWindow(blockEditor->GetHandle(), 0, 0, 600, 400, TRUE);
  FlushEvents();
  HWND view = blockEditor->GetView()->GetHandle();
  BlockDialogHost host;
  CBlockHostScope scope(&host);

  CBEBlock* edited = nullptr;
  DialogAnswerer boxes({IDYES, IDOK});
  ModalScript script{{[&](CVMScriptEditor* opened) {
    edited = opened->GetBlock();
    Type(opened, L"var x = 1;");
    PostClose(opened);
  }}};
  ModalScript::current = &script;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, ModalScript::Tick);
  SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
  SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(100, 50));
  SendMessageW(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 50));
  KillTimer(nullptr, timer);
  ModalScript::current = nullptr;
  EXPECT_EQ(edited, scriptBlock);
  EXPECT_EQ(boxes.Count(), 2);  // the close check, then the compilation
  EXPECT_STREQ(static_cast<CBEVirtualMachine*>(scriptBlock)->Source(), L"var x = 1;");
}

HTREEITEM FindTreeItem(HWND tree, HTREEITEM from, const std::wstring& label) {
  for (HTREEITEM item = from; item; item = TreeView_GetNextSibling(tree, item)) {
    wchar_t text[300] = L"";
    TVITEMW info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = 300;
    TreeView_GetItem(tree, &info);
    if (label == text) return item;
    if (HTREEITEM found = FindTreeItem(tree, TreeView_GetChild(tree, item), label)) return found;
  }
  return nullptr;
}

TEST_F(ScriptEditorTest, LanguageElementsAndExamplesGoIntoTheText) {
  velktest::TempFolder folder;
  folder.WriteFile(L"elements.txt",
                   std::string("+Test group\n*Head of a condition\nTest if\nif (|) {\\n}\n*\nNo caret\nz\n"
                               "--\n*Test example\nx = 1;\ny = 2;\n"));
  Open();
  editor->LoadToolFileFrom(folder.File(L"elements.txt").c_str());
  HWND tree = editor->GetElementTree()->GetHandle();
  HTREEITEM group = FindTreeItem(tree, TreeView_GetRoot(tree), L"Test group");
  HTREEITEM element = FindTreeItem(tree, TreeView_GetRoot(tree), L"Test if");
  ASSERT_NE(group, nullptr);
  ASSERT_NE(element, nullptr);

  TreeView_SelectItem(tree, group);
  editor->GetProgramText()->SetText(L"ab");
  editor->GetProgramText()->SetSelection(1, 1);
  Command(kScriptInsertElement);  // a group: nothing
  EXPECT_EQ(Text(), L"ab");
  EXPECT_EQ(GetMenuState(editor->GetTreeMenu()->GetHandle(), 0, MF_BYPOSITION) & MF_GRAYED, MF_GRAYED);

  TreeView_SelectItem(tree, element);
  wchar_t description[80] = L"";
  editor->GetDescriptionLabel()->GetWindowText(description, 80);
  EXPECT_STREQ(description, L"Head of a condition");
  EXPECT_EQ(GetMenuState(editor->GetTreeMenu()->GetHandle(), 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  Command(kScriptInsertElement);
  EXPECT_EQ(Text(), L"aif ( ) {\r\n}b");
  EXPECT_EQ(editor->GetProgramText()->GetSelStart(), 5);
  EXPECT_TRUE(editor->IsModified());

  TreeView_SelectItem(tree, FindTreeItem(tree, TreeView_GetRoot(tree), L"No caret"));
  editor->GetProgramText()->SetSelection(0, 0);
  Command(kScriptInsertElement);
  EXPECT_EQ(editor->GetProgramText()->GetSelStart(), 0);
  EXPECT_EQ(Text(), L"zaif ( ) {\r\n}b");

  CKestListView* examples = editor->GetExamplesList();
  int row = examples->GetItemCount() - 1;
  wchar_t name[40] = L"";
  examples->GetItemText(row, 0, name, 40);
  ASSERT_STREQ(name, L"Test example");
  Select(examples, row);
  {
    DialogAnswerer no(IDNO);
    Command(kScriptInsertExample);
    ASSERT_EQ(no.Count(), 1);
    EXPECT_EQ(no.Captions()[0], L"Вставка примера");
    EXPECT_EQ(no.Texts()[0], L"Заменить текущую программу примером?");
  }
  EXPECT_EQ(Text(), L"zaif ( ) {\r\n}b");
  DialogAnswerer yes(IDYES);
  Command(kScriptInsertExample);
  EXPECT_EQ(Text(), L"x = 1;\r\ny = 2;");
}

TEST_F(ScriptEditorTest, FindFromTheMenu) {
  Open();
  editor->GetProgramText()->SetText(L"abab");
  editor->GetProgramText()->SetSelection(0, 0);
  Command(ID_SCRIPT_FIND);
  CSearchForm* search = OpenSearchForm;
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(WindowCaption(search->GetHandle()), L"Поиск");
  EXPECT_EQ(GetWindow(search->GetHandle(), GW_OWNER), editor->GetHandle());
  Command(ID_SCRIPT_FIND);  // one at a time
  EXPECT_EQ(OpenSearchForm, search);
  EXPECT_TRUE(IsWindowVisible(search->GetHandle()));
  FlushEvents();
  EXPECT_TRUE(velktest::SaveWindowBitmap(search->GetHandle(), ScreenshotFolder() + L"script_find.bmp"));

  // An empty edit does nothing.
  SendMessageW(search->GetHandle(), WM_COMMAND, kScriptSearchForwardId, 0);
  EXPECT_EQ(LastSearchText, nullptr);
  search->GetSearchEdit()->SetText(L"ab");
  SendMessageW(search->GetHandle(), WM_COMMAND, kScriptSearchForwardId, 0);
  EXPECT_EQ(editor->GetProgramText()->GetSelStart(), 2);
  ASSERT_NE(LastSearchText, nullptr);
  EXPECT_STREQ(LastSearchText, L"ab");
  {
    DialogAnswerer ok(IDOK);
    SendMessageW(search->GetHandle(), WM_COMMAND, kScriptSearchForwardId, 0);
    ASSERT_EQ(ok.Count(), 1);
    EXPECT_EQ(ok.Captions()[0], L"Поиск");
    EXPECT_EQ(ok.Texts()[0], L"Больше не найдено!");
  }
  EXPECT_EQ(editor->GetProgramText()->GetSelStart(), 2);
  editor->GetProgramText()->SetSelection(4, 4);
  SendMessageW(search->GetHandle(), WM_COMMAND, kScriptSearchBackwardId, 0);
  EXPECT_EQ(editor->GetProgramText()->GetSelStart(), 2);
  SendMessageW(search->GetHandle(), WM_COMMAND, kScriptSearchBackwardId, 0);
  EXPECT_EQ(editor->GetProgramText()->GetSelStart(), 0);
  search->GetSearchEdit()->SetText(L"AB");
  {
    DialogAnswerer ok(IDOK);
    SendMessageW(search->GetHandle(), WM_COMMAND, kScriptSearchForwardId, 0);
    EXPECT_EQ(ok.Count(), 1);
  }

  // Closed, the next one opens with the last text.
  SendMessageW(search->GetHandle(), WM_CLOSE, 2, 0);
  FlushEvents();
  EXPECT_EQ(OpenSearchForm, nullptr);
  Command(ID_SCRIPT_FIND);
  ASSERT_NE(OpenSearchForm, nullptr);
  wchar_t shown[16] = L"";
  OpenSearchForm->GetSearchEdit()->CopyText(shown, 16);
  EXPECT_STREQ(shown, L"AB");
}

TEST_F(ScriptEditorTest, Screenshot) {
  block.SetInputPins(2);
  block.SetInputName(0, L"distance");
  block.SetInputName(1, L"angle");
  block.Input(1)->type = kBeSignalFloat;
  block.SetOutputPins(1);
  block.SetOutputName(0, L"speed");
  block.Output(0)->type = kBeSignalInt;
  block.SetSource(L"// Едем, пока впереди свободно.\r\nif (distance > 50) {\r\n\tspeed = 100;\r\n} else {\r\n\tspeed = 0;\r\n}\r\n");
  Open();
  ShowWindow(editor->GetHandle(), SW_SHOW);
  editor->Realign();
  FlushEvents();
  RECT client;
  GetClientRect(editor->GetHandle(), &client);
  EXPECT_GT(client.right, 900);
  // The text fills the middle, between the two side panels.
  RECT text = editor->GetProgramText()->GetBounds();
  RECT inputs = editor->GetInputsList()->GetBounds();
  RECT outputs = editor->GetOutputsList()->GetBounds();
  EXPECT_LT(inputs.right, text.left);
  EXPECT_LT(text.right, outputs.left);
  EXPECT_GT(inputs.right - inputs.left, 280);
  EXPECT_LE(inputs.right - inputs.left, 300);
  EXPECT_TRUE(velktest::SaveWindowBitmap(editor->GetHandle(), ScreenshotFolder() + L"script_editor.bmp"));
}

TEST(ScriptLanguageElements, TheShippedFileHoldsElementsAndExamplesThatCompile) {
  wchar_t exe[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe, n);
  path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"jstool.txt";
  ScriptToolItem* items = nullptr;
  ScriptExample* examples = nullptr;
  ASSERT_TRUE(ReadScriptToolFile(path.c_str(), &items, &examples, nullptr));
  int itemCount = 0, exampleCount = 0;
  for (ScriptToolItem* item = items; item; item = item->next) {
    ++itemCount;
    EXPECT_NE(item->insertText, nullptr);
    EXPECT_NE(item->description, nullptr);
  }
  for (ScriptExample* example = examples; example; example = example->next) {
    ++exampleCount;
    VmCompiler compiler;
    RecordingSink sink;
    compiler.SetErrorSink(&sink);
    EXPECT_TRUE(compiler.Compile(example->text)) << (sink.messages.empty() ? "" : "error") << " at "
                                                 << (sink.positions.empty() ? -1 : sink.positions[0]);
  }
  EXPECT_GT(itemCount, 20);
  EXPECT_GE(exampleCount, 3);
  DeleteScriptToolItems(&items);
  DeleteScriptExamples(&examples);
}

}  // namespace
