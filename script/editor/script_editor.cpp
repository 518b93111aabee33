#include "script/editor/script_editor.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <initializer_list>
#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/signal_type.h"
#include "foundation/buffers.h"
#include "foundation/encoding.h"
#include "foundation/numbers.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/bars/kest_status_bar.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_h_splitter.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"
#include "kestui/core/kest_messages.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_memo.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/graphics/kest_font.h"
#include "kestui/graphics/kest_imagelist.h"
#include "kestui/lists/kest_combo_box.h"
#include "kestui/lists/kest_list_view.h"
#include "kestui/lists/kest_tree_view.h"
#include "kestui/menus/kest_main_menu.h"
#include "kestui/menus/kest_menu.h"
#include "kestui/menus/kest_popup_menu.h"
#include "script/compiler/vm_compiler.h"
#include "script/compiler/vm_error_sink.h"
#include "script/editor/script_tool_file.h"
#include "script/editor/search_form.h"
#include "script/script_block.h"
#include "script/script_resources.h"

namespace {

const wchar_t kCaption[] = L"Редактор JavaScript";
const wchar_t kModifiedCaption[] = L"Редактор JavaScript *";
const int kFormWidth = 1020, kFormHeight = 600;
const int kLeftWidth = 300, kRightWidth = 250;
const int kCaptionHeight = 20, kHeaderHeight = 28, kListHeight = 200, kDescriptionHeight = 50;
const int kButtonSize = 25;
const int kStatusHeight = 19, kStatusPanelWidth = 80;
const int kLineCountPanel = 1, kColumnPanel = 3;
const BeSignalType kNewPinType = kBeSignalChar;
const BeSignalType kFirstPinType = kBeSignalBit, kLastPinType = kBeSignalDouble;
const int kGroupImage = 0, kGroupSelectedImage = 1, kElementImage = 2;

const wchar_t kOpenFilter[] =
    L"Файлы JavaScript (*.js)|*.js|Файлы в кодировке win-1251 (*.js)|*.js|"
    L"Файлы в кодировке UTF-8 (*.js)|*.js|Все файлы (*.*)|*.*";
const wchar_t kSaveFilter[] = L"Файлы в кодировке win-1251 (*.js)|*.js|Файлы в кодировке UTF-8 (*.js)|*.js";

const wchar_t* const kReservedNames[] = {
    // keywords of the compiler
    L"var", L"function", L"if", L"else", L"do", L"while", L"for", L"with", L"break", L"continue",
    L"return", L"switch", L"case", L"default", L"typeof", L"delete", L"new",
    // names that the compiler reads as an operator or as the call's receiver
    L"instanceof", L"this",
    // globals the machine defines before a script runs
    L"String", L"Math", L"console", L"parseInt", L"parseFloat", L"time", L"sleep", L"print", L"printf",
    L"true", L"false", L"null"};

// The compiler's first error, told in a message box over the editor.
class EditorErrorSink : public VmErrorSink {
public:
  explicit EditorErrorSink(CKestControl* owner) : owner_(owner) {}
  void ReportError(int, const wchar_t* message) override {
    ShowMessageText(owner_, MB_OK | MB_ICONERROR, L"Ошибка", message ? message : L"");
  }

private:
  CKestControl* owner_;
};

BeSignalType RowType(CKestListView* list, int row) {
  wchar_t name[kScriptPinNameChars];
  list->GetItemText(row, 1, name, kScriptPinNameChars);
  return FindSignalTypeByName(name);
}

const wchar_t* TypeName(int type) {
  const wchar_t* name = GetSignalTypeName(static_cast<BeSignalType>(type));
  return name ? name : L"";
}

}  // namespace

bool IsScriptIdentifier(const wchar_t* name) {
  if (!name || !VmIsIdentifierStart(name[0])) return false;
  for (const wchar_t* c = name + 1; *c; ++c)
    if (!VmIsIdentifierChar(*c)) return false;
  return true;
}

bool IsReservedScriptName(const wchar_t* name) {
  if (!name) return false;
  for (const wchar_t* reserved : kReservedNames)
    if (wcscmp(reserved, name) == 0) return true;
  return false;
}

// Puts what the language-element file holds into the tree and the list.
class CVMScriptEditor::ToolTarget : public ScriptToolTarget {
public:
  explicit ToolTarget(CVMScriptEditor* editor) : editor_(editor) {}
  void* AddGroup(void* parent, const wchar_t* text) override {
    return editor_->tree_->AddItem(static_cast<HTREEITEM>(parent), text, kGroupImage, kGroupSelectedImage, 0);
  }
  void AddElement(void* parent, const wchar_t* label, ScriptToolItem* item) override {
    editor_->tree_->AddItem(static_cast<HTREEITEM>(parent), label, kElementImage, kElementImage,
                            reinterpret_cast<LPARAM>(item));
  }
  void AddExample(const wchar_t* name, ScriptExample* example) override {
    editor_->examples_->AddItem(name, 0, reinterpret_cast<LPARAM>(example));
  }

private:
  CVMScriptEditor* editor_;
};

CVMScriptEditor::CVMScriptEditor(CBEVirtualMachine* block) : block_(block) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  menu_ = new CKestMainMenu(IDR_SCRIPT_EDITOR_MENU);
  menu_->AddRef();
  if (!Create(MainKestForm, kCaption, KEST_POS_CENTER, kFormWidth, kFormHeight, menu_, true, true, true, true))
    return;
  SetReady(false);
  SetAccelerators(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_SCRIPT_EDITOR_ACCELERATORS)));
  editMenu_ = menu_->GetSubMenu(1);
  captionFont_ = new CKestFont(L"Arial", -12, FW_BOLD);
  captionFont_->AddRef();
  textFont_ = new CKestFont(L"Courier New", -14, FW_NORMAL);
  textFont_->AddRef();

  status_ = new CKestStatusBar(this, true, kStatusHeight);
  status_->AddPanel(kStatusPanelWidth, 1, L"Строка: ");
  status_->AddPanel(kStatusPanelWidth, 0, L"");
  status_->AddPanel(kStatusPanelWidth, 1, L"Столбец: ");
  status_->AddPanel(kStatusPanelWidth, 0, L"");
  status_->AddPanel(kStatusPanelWidth, -1, L"");

  // Left: the inputs and the language elements.
  CKestPanel* left = new CKestPanel(this, 0, KEST_POS_LEFT, kLeftWidth, kFormHeight, false, false);
  BuildPinPanel(left, true);
  new CKestHSplitter(left, KEST_POS_TOP);
  CKestLabel* elementsCaption =
      new CKestLabel(left, L"Элементы языка", KEST_POS_TOP, false, kLeftWidth, kCaptionHeight, -1);
  elementsCaption->SetFont(captionFont_);
  description_ = new CKestLabel(left, L"", KEST_POS_BOTTOM, false, kLeftWidth, kDescriptionHeight, -1);
  tree_ = new CKestTreeView(left, KEST_POS_CLIENT, kLeftWidth, kListHeight,
                            WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                TVS_SINGLEEXPAND | TVS_SHOWSELALWAYS);
  treeImages_ = new CKestImageList(16, 16);
  treeImages_->AddRef();
  treeImages_->AddResourceImage(IDB_SCRIPT_GROUP);
  treeImages_->AddResourceImage(IDB_SCRIPT_GROUP_OPEN);
  treeImages_->AddResourceImage(IDB_SCRIPT_ELEMENT);
  tree_->SetImageList(treeImages_);
  treeMenu_ = new CKestPopupMenu();
  treeMenu_->AddItem(L"Вставить\tEnter", kScriptInsertElement, 0, VK_RETURN);
  treeMenu_->SetDefaultItem(0, true);
  treeMenu_->EnableItem(0, false);
  tree_->SetMenu(treeMenu_);

  new CKestVSplitter(this, KEST_POS_LEFT);

  // Right: the outputs and the examples.
  CKestPanel* right = new CKestPanel(this, 0, KEST_POS_RIGHT, kRightWidth, kFormHeight, false, false);
  BuildPinPanel(right, false);
  new CKestHSplitter(right, KEST_POS_TOP);
  CKestLabel* examplesCaption =
      new CKestLabel(right, L"Примеры", KEST_POS_TOP, false, kRightWidth, kCaptionHeight, -1);
  examplesCaption->SetFont(captionFont_);
  examples_ = new CKestListView(right, KEST_POS_CLIENT, kRightWidth, kListHeight,
                                WS_VISIBLE | WS_TABSTOP | LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0);
  exampleImages_ = new CKestImageList(16, 16);
  exampleImages_->AddRef();
  exampleImages_->AddResourceImage(IDB_SCRIPT_EXAMPLE);
  examples_->SetImageList(exampleImages_);
  examplesMenu_ = new CKestPopupMenu();
  examplesMenu_->AddItem(L"Вставить\tEnter", kScriptInsertExample, 0, VK_RETURN);
  examplesMenu_->SetDefaultItem(0, true);
  examplesMenu_->EnableItem(0, false);
  examples_->SetMenu(examplesMenu_);

  new CKestVSplitter(this, KEST_POS_RIGHT);

  // The program text. Its popup shows the keys the text handles itself.
  text_ = new CKestMemo(this, kScriptTextId, KEST_POS_CLIENT, 400, 400, 0, false, false, true, -1, true, true);
  text_->SetFont(textFont_);
  textMenu_ = new CKestPopupMenu();
  textMenu_->AddItem(L"&Отмена\tCtrl+Z", ID_SCRIPT_UNDO);
  textMenu_->AppendSeparator();
  textMenu_->AddItem(L"&Копировать\tCtrl+C", ID_SCRIPT_COPY);
  textMenu_->AddItem(L"В&ырезать\tCtrl+X", ID_SCRIPT_CUT);
  textMenu_->AddItem(L"&Вставить\tCtrl+V", ID_SCRIPT_PASTE);
  textMenu_->AddItem(L"&Удалить\tDel", ID_SCRIPT_DELETE);
  textMenu_->AppendSeparator();
  textMenu_->AddItem(L"Выделить вс&е\tCtrl+A", ID_SCRIPT_SELECT_ALL);
  textMenu_->AppendSeparator();
  textMenu_->AddItem(L"Поиск...\tCtrl+F", ID_SCRIPT_FIND);
  text_->SetMenu(textMenu_);
  if (block_ && block_->Source()) text_->SetText(block_->Source());

  FillPins();
  LoadToolFile();
  Realign();
  UpdateCaretStatus();
  UpdateInputsMenu();
  UpdateOutputsMenu();
  text_->SetFocus();
  SetReady(true);
}

CVMScriptEditor::~CVMScriptEditor() {
  DeleteScriptToolItems(&toolItems_);
  DeleteScriptExamples(&exampleList_);
  if (treeImages_) treeImages_->Release();
  if (exampleImages_) exampleImages_->Release();
  if (captionFont_) captionFont_->Release();
  if (textFont_) textFont_->Release();
  if (menu_) menu_->Release();
}

void CVMScriptEditor::BuildPinPanel(CKestContainer* panel, bool inputs) {
  int width = inputs ? kLeftWidth : kRightWidth;
  CKestLabel* caption =
      new CKestLabel(panel, inputs ? L"Входы" : L"Выходы", KEST_POS_TOP, false, width, kCaptionHeight, -1);
  caption->SetFont(captionFont_);
  CKestPanel* header = new CKestPanel(panel, 1, KEST_POS_TOP, width, kHeaderHeight, true, false);
  UINT first = inputs ? kScriptAddInput : kScriptAddOutput;
  new CKestSpdBtn(header, first, IDB_SCRIPT_PIN_ADD, inputs ? L"Добавить вход" : L"Добавить выход", false,
                  kButtonSize, kButtonSize, nullptr, KEST_POS_FLOW, false);
  CKestSpdBtn** buttons = inputs ? inputButtons_ : outputButtons_;
  buttons[0] = new CKestSpdBtn(header, first + 1, IDB_SCRIPT_PIN_DELETE,
                               inputs ? L"Удалить вход" : L"Удалить выход", false, kButtonSize, kButtonSize,
                               nullptr, KEST_POS_FLOW, false);
  buttons[1] = new CKestSpdBtn(header, first + 2, IDB_SCRIPT_PIN_UP, L"Поднять вверх", false, kButtonSize,
                               kButtonSize, nullptr, KEST_POS_FLOW, false);
  buttons[2] = new CKestSpdBtn(header, first + 3, IDB_SCRIPT_PIN_DOWN, L"Опустить вниз", false, kButtonSize,
                               kButtonSize, nullptr, KEST_POS_FLOW, false);
  CKestListView* list = new CKestListView(
      panel, KEST_POS_TOP, width, kListHeight,
      WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
      LVS_EX_FULLROWSELECT);
  list->AddColumn(inputs ? L"Вход" : L"Выход", 100, -1);
  list->AddColumn(L"Тип", 100, 0);
  CKestPopupMenu* menu = new CKestPopupMenu();
  menu->AddItem(L"Правка\tEnter", inputs ? kScriptEditInput : kScriptEditOutput, 0, VK_RETURN);
  menu->SetDefaultItem(0, true);
  menu->AppendSeparator();
  menu->AddItem(inputs ? L"Добавить вход\tIns" : L"Добавить выход\tIns", first, 0, VK_INSERT);
  menu->AddItem(inputs ? L"Удалить вход\tDel" : L"Удалить выход\tDel", first + 1, 0, VK_DELETE);
  menu->AppendSeparator();
  int up = menu->AddItem(L"Поднять вверх\tCtrl+Up", first + 2, KEST_MOD_CTRL, VK_UP);
  int down = menu->AddItem(L"Опустить вниз\tCtrl+Down", first + 3, KEST_MOD_CTRL, VK_DOWN);
  menu->SetItemBitmap(up, IDB_SCRIPT_PIN_UP);
  menu->SetItemBitmap(down, IDB_SCRIPT_PIN_DOWN);
  menu->AppendSeparator();
  menu->AddItem(L"Удалить все", inputs ? kScriptDeleteAllInputs : kScriptDeleteAllOutputs);
  list->SetMenu(menu);
  if (inputs) {
    inputs_ = list;
    inputsMenu_ = menu;
  } else {
    outputs_ = list;
    outputsMenu_ = menu;
  }
}

void CVMScriptEditor::FillPins() {
  if (!block_) return;
  for (int i = 0; i < block_->inputCount; ++i) {
    const BeInputPin* pin = block_->Input(i);
    int row = inputs_->AddItem(pin->name ? pin->name : L"", -1, 0);
    inputs_->SetItemText(row, 1, TypeName(pin->type));
  }
  for (int i = 0; i < block_->outputCount; ++i) {
    const BeOutputPin* pin = block_->Output(i);
    int row = outputs_->AddItem(pin->name ? pin->name : L"", -1, 0);
    outputs_->SetItemText(row, 1, TypeName(pin->type));
  }
}

void CVMScriptEditor::LoadToolFile() {
  wchar_t path[MAX_PATH + 16];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  wchar_t* slash = wcsrchr(path, L'\\');
  wchar_t* name = slash ? slash + 1 : path;
  wcscpy(name, L"jstool.txt");
  LoadToolFileFrom(path);
}

void CVMScriptEditor::LoadToolFileFrom(const wchar_t* path) {
  ToolTarget target(this);
  ReadScriptToolFile(path, &toolItems_, &exampleList_, &target);
}

void CVMScriptEditor::UpdateCaption(bool modified) {
  if (modified == modified_) return;
  modified_ = modified;
  SetCaption(modified ? kModifiedCaption : kCaption);
}

void CVMScriptEditor::UpdateCaretStatus() {
  if (!text_ || !status_) return;
  wchar_t number[16];
  status_->SetPanelText(kLineCountPanel, FormatInt(text_->GetCaretLine() + 1, number));
  status_->SetPanelText(kColumnPanel, FormatInt(text_->GetCaretColumn() + 1, number));
}

namespace {
void EnablePinControls(CKestListView* list, CKestSpdBtn* const* buttons, CKestPopupMenu* menu) {
  bool selected = list && list->GetSelectedIndex() >= 0;
  for (int i = 0; i < 3; ++i)
    if (buttons[i]) buttons[i]->Enable(selected);
  if (!menu) return;
  for (int position : {0, 3, 5, 6}) menu->EnableItem(position, selected);
}
}  // namespace

void CVMScriptEditor::UpdateInputsMenu() { EnablePinControls(inputs_, inputButtons_, inputsMenu_); }
void CVMScriptEditor::UpdateOutputsMenu() { EnablePinControls(outputs_, outputButtons_, outputsMenu_); }

void CVMScriptEditor::AddPin(bool inputs) {
  CKestListView* list = inputs ? inputs_ : outputs_;
  wchar_t name[kScriptPinNameChars];
  swprintf(name, kScriptPinNameChars, inputs ? L"in%d" : L"out%d", list->GetItemCount() + 1);
  int row = list->AddItem(name, -1, 0);
  if (row < 0) return;
  list->SetItemText(row, 1, TypeName(kNewPinType));
  int selected = list->GetSelectedIndex();
  if (selected >= 0) list->SelectItem(selected, false);
  list->SelectItem(row, true);
  list->SetFocus();
  inputs ? UpdateInputsMenu() : UpdateOutputsMenu();
  UpdateCaption(true);
  SendMessageW(window_, WM_COMMAND, inputs ? kScriptEditInput : kScriptEditOutput, 0);
}

void CVMScriptEditor::DeletePin(bool inputs) {
  CKestListView* list = inputs ? inputs_ : outputs_;
  int row = list->GetSelectedIndex();
  if (row < 0) return;
  list->DeleteItem(row);
  inputs ? UpdateInputsMenu() : UpdateOutputsMenu();
  UpdateCaption(true);
}

void CVMScriptEditor::SwapRows(CKestListView* list, int a, int b) {
  wchar_t textA[kScriptPinNameChars], textB[kScriptPinNameChars];
  for (int column = 0; column < 2; ++column) {
    list->GetItemText(a, column, textA, kScriptPinNameChars);
    list->GetItemText(b, column, textB, kScriptPinNameChars);
    list->SetItemText(a, column, textB);
    list->SetItemText(b, column, textA);
  }
  list->SelectItem(a, false);
  list->SelectItem(b, true);
}

void CVMScriptEditor::MovePin(bool inputs, bool up) {
  CKestListView* list = inputs ? inputs_ : outputs_;
  int row = list->GetSelectedIndex();
  if (row < 0) return;
  int other = up ? row - 1 : row + 1;
  if (other < 0 || other >= list->GetItemCount()) return;
  SwapRows(list, row, other);
  UpdateCaption(true);
}

void CVMScriptEditor::EditPin(bool inputs) {
  CKestListView* list = inputs ? inputs_ : outputs_;
  int row = list->GetSelectedIndex();
  if (row < 0) return;
  wchar_t name[kScriptPinNameChars];
  list->GetItemText(row, 0, name, kScriptPinNameChars);
  int type = RowType(list, row);
  if (!EditDataField(name, &type)) return;
  list->SetItemText(row, 0, name);
  list->SetItemText(row, 1, TypeName(type));
  UpdateCaption(true);
}

void CVMScriptEditor::DeleteAllPins(bool inputs) {
  if (ShowMessageText(this, MB_YESNO | MB_ICONWARNING, L"Внимание",
                      inputs ? L"Удалить все входы?" : L"Удалить все выходы?") != IDYES)
    return;
  (inputs ? inputs_ : outputs_)->DeleteAllItems();
  inputs ? UpdateInputsMenu() : UpdateOutputsMenu();
  UpdateCaption(true);
}

bool CVMScriptEditor::EditDataField(wchar_t* name, int* type) {
  if (!name || !type) return false;
  auto* form = new CKestForm();
  if (!form->Create(MainKestForm, L"Поле данных", KEST_POS_CENTER, 220, 165, nullptr, false, false, true, true)) {
    delete form;
    return false;
  }
  form->SetReady(false);
  new CKestLabel(form, L"Название:", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  CKestEdit* edit = new CKestEdit(form, 0, KEST_POS_FLOW, 120, 21, false, kScriptPinNameChars, true);
  edit->SetText(name);
  form->NewFlowRow();
  new CKestLabel(form, L"Тип данных:", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  CKestComboBox* types = new CKestComboBox(form, 0, false, KEST_POS_FLOW, 200, 21, 0);
  for (int code = kFirstPinType; code <= kLastPinType; ++code) {
    int index = types->AddItem(TypeName(code), static_cast<uint32_t>(code));
    if (code == *type) types->SetSelectedIndex(index);
  }
  form->NewFlowRow();
  form->BeginCenteredRows();
  new CKestButton(form, L"OK", true, IDOK, KEST_POS_FLOW, 80, 25, nullptr, 1);
  new CKestButton(form, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, 80, 25, nullptr, 2);
  form->CenterFlowRows();
  edit->SetFocus();
  form->SetReady(true);

  HWND window = form->GetHandle();
  int result = form->ShowModal(false);
  bool alive = IsWindow(window) && GetControlFromHandle(window) == form;
  wchar_t entered[kScriptPinNameChars] = L"";
  int chosen = -1;
  if (alive) {
    edit->CopyText(entered, kScriptPinNameChars);
    int index = types->GetSelectedIndex();
    if (index >= 0) chosen = static_cast<int>(types->GetItemData(index));
  }
  if (alive) delete form;
  if (result != 1 || !alive) return false;
  if (chosen >= 0) *type = chosen;
  if (!IsScriptIdentifier(entered)) {
    ShowMessageText(MainKestForm, MB_OK | MB_ICONERROR, L"Неверное название",
                    L"Название входа или выхода должно соответствовать требованиям к названиям "
                    L"переменных языка");
  } else if (IsReservedScriptName(entered)) {
    ShowMessageText(MainKestForm, MB_OK | MB_ICONERROR, L"Неверное название",
                    L"Название входа или выхода не может совпадать с ключевым словом или встроенным "
                    L"именем языка");
  } else {
    wcscpy(name, entered);
  }
  return true;
}

const wchar_t* CVMScriptEditor::FindReservedPinName(CKestListView* list, wchar_t* buffer) {
  for (int row = 0; row < list->GetItemCount(); ++row) {
    list->GetItemText(row, 0, buffer, kScriptPinNameChars);
    if (IsReservedScriptName(buffer)) return buffer;
  }
  return nullptr;
}

bool CVMScriptEditor::CompileIntoBlock() {
  if (!block_) return false;
  // Pins loaded from an older record may carry a name the language keeps.
  wchar_t reserved[kScriptPinNameChars];
  if (FindReservedPinName(inputs_, reserved) || FindReservedPinName(outputs_, reserved)) {
    ShowMessageBox(this, MB_OK | MB_ICONERROR, L"Неверное название",
                   L"Название входа или выхода \"%ls\" совпадает с ключевым словом или встроенным именем языка",
                   reserved);
    return false;
  }
  wchar_t* source = text_->GetText();
  EditorErrorSink sink(this);
  auto* compiler = new (std::nothrow) VmCompiler();
  if (!compiler) {
    FreeBuffer(source);
    return false;
  }
  compiler->SetErrorSink(&sink);
  bool ok = compiler->Compile(source ? source : L"");
  if (!ok) {
    int at = compiler->GetErrorPosition();
    delete compiler;
    FreeBuffer(source);
    if (at < 0) at = 0;
    text_->SetSelection(at, at);
    text_->SetFocus();
    UpdateCaretStatus();
    return false;
  }
  // The code compiled: the pins, the source and the code go in together.
  bool stored = block_->SetInputPins(inputs_->GetItemCount()) && block_->SetOutputPins(outputs_->GetItemCount());
  wchar_t name[kScriptPinNameChars];
  for (int i = 0; stored && i < inputs_->GetItemCount(); ++i) {
    inputs_->GetItemText(i, 0, name, kScriptPinNameChars);
    stored = block_->SetInputName(i, name);
    block_->Input(i)->type = RowType(inputs_, i);
  }
  for (int i = 0; stored && i < outputs_->GetItemCount(); ++i) {
    outputs_->GetItemText(i, 0, name, kScriptPinNameChars);
    stored = block_->SetOutputName(i, name);
    block_->Output(i)->type = RowType(outputs_, i);
  }
  stored = stored && block_->SetSource(source) &&
           block_->Machine()->SetCode(compiler->GetCode(), compiler->GetCodeSize());
  delete compiler;
  FreeBuffer(source);
  block_->UpdateSize();
  if (!stored) {
    ShowMessageText(this, MB_OK | MB_ICONERROR, L"Ошибка", L"Недостаточно памяти");
    return false;
  }
  ShowMessageText(this, MB_OK, L"Компиляция", L"Программа удачно скомпилирована.");
  UpdateCaption(false);
  return true;
}

void CVMScriptEditor::InsertElement() {
  HTREEITEM selected = tree_->GetSelectedItem();
  auto* item = selected ? reinterpret_cast<ScriptToolItem*>(tree_->GetItemData(selected))
                        : nullptr;
  if (!item) return;
  int start = text_->GetSelStart();
  text_->ReplaceSelection(item->insertText ? item->insertText : L"");
  text_->SetFocus();
  text_->SetSelection(start + item->caretOffset, start + item->caretOffset);
  UpdateCaretStatus();
  UpdateCaption(true);
}

void CVMScriptEditor::InsertExample() {
  int row = examples_->GetSelectedIndex();
  if (row < 0) return;
  auto* example = reinterpret_cast<ScriptExample*>(examples_->GetItemData(row));
  if (!example) return;
  if (ShowMessageText(this, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, L"Вставка примера",
                      L"Заменить текущую программу примером?") != IDYES)
    return;
  text_->SetText(example->text ? example->text : L"");
  UpdateCaption(true);
  text_->SetFocus();
  UpdateCaretStatus();
}

void CVMScriptEditor::NewProgram() {
  if (ShowMessageText(this, MB_YESNO | MB_ICONWARNING, L"Новая программа",
                      L"Вы уверены, что хотите создать программу, входы и выходы заново?") != IDYES)
    return;
  text_->ClearText();
  inputs_->DeleteAllItems();
  outputs_->DeleteAllItems();
  UpdateInputsMenu();
  UpdateOutputsMenu();
  UpdateCaretStatus();
  UpdateCaption(true);
}

void CVMScriptEditor::OpenProgram() {
  wchar_t* path = ShowOpenFileDialog(this, nullptr, false, L"js", kOpenFilter, nullptr, nullptr);
  if (!path) return;
  TextEncoding encoding = kFoundationEncodingDetect;
  if (LastFileFilterIndex == 2) encoding = kFoundationEncodingAnsi;
  if (LastFileFilterIndex == 3) encoding = kFoundationEncodingUtf8;
  FILE* file = _wfopen(path, L"rb");
  FreeBuffer(path);
  if (!file) {
    ShowMessageText(this, MB_OK | MB_ICONERROR, L"Ошибка", L"Ошибка открытия файла!");
    return;
  }
  long size = -1;
  if (fseek(file, 0, SEEK_END) == 0) size = ftell(file);
  unsigned char* bytes = nullptr;
  bool read = size >= 0 && fseek(file, 0, SEEK_SET) == 0;
  if (read && size > 0) {
    bytes = static_cast<unsigned char*>(AllocBuffer(static_cast<size_t>(size)));
    read = bytes && fread(bytes, 1, static_cast<size_t>(size), file) == static_cast<size_t>(size);
  }
  fclose(file);
  if (!read) {
    FreeBuffer(bytes);
    ShowMessageText(this, MB_OK | MB_ICONERROR, L"Ошибка", L"Ошибка открытия файла!");
    return;
  }
  wchar_t* text = bytes ? DecodeText(bytes, static_cast<int>(size), true, encoding) : nullptr;
  text_->SetText(text ? text : L"");
  FreeBuffer(text);
  UpdateCaretStatus();
  UpdateCaption(true);
}

void CVMScriptEditor::SaveProgram() {
  wchar_t* path = ShowSaveFileDialog(this, nullptr, L"js", kSaveFilter, nullptr, nullptr);
  if (!path) return;
  TextEncoding encoding = LastFileFilterIndex == 2 ? kFoundationEncodingUtf8 : kFoundationEncodingAnsi;
  int count = 0;
  unsigned char* bytes = EncodeText(text_->GetText(), true, encoding, &count);
  FILE* file = _wfopen(path, L"wb");
  FreeBuffer(path);
  bool written = file && (count == 0 || fwrite(bytes, 1, static_cast<size_t>(count), file) == static_cast<size_t>(count));
  if (file && fclose(file) != 0) written = false;
  FreeBuffer(bytes);
  if (!written) ShowMessageText(this, MB_OK | MB_ICONERROR, L"Ошибка", L"Ошибка создания файла!");
}

void CVMScriptEditor::ShowExamples() {
  if (examples_->GetItemCount() > 0 && examples_->GetSelectedIndex() < 0) examples_->SelectItem(0, true);
  examples_->SetFocus();
}

void CVMScriptEditor::OpenFind() {
  if (OpenSearchForm) return;
  auto* form = new CSearchForm(this);
  if (!form->GetHandle()) {
    delete form;
    return;
  }
  OpenSearchForm = form;
  form->Show(false);
}

void CVMScriptEditor::EnableEditMenu() {
  if (!editMenu_) return;
  bool selection = text_->HasSelection();
  CKestMenu::EnableMenuItemAt(editMenu_, 0, text_->CanUndo());
  CKestMenu::EnableMenuItemAt(editMenu_, 2, selection);
  CKestMenu::EnableMenuItemAt(editMenu_, 3, selection);
  CKestMenu::EnableMenuItemAt(editMenu_, 4, text_->CanPaste());
  CKestMenu::EnableMenuItemAt(editMenu_, 5, selection);
}

void CVMScriptEditor::EnableTextMenu() {
  struct Entry {
    UINT id;
    bool enable;
  } entries[] = {{ID_SCRIPT_UNDO, text_->CanUndo()},   {ID_SCRIPT_COPY, text_->HasSelection()},
                 {ID_SCRIPT_CUT, text_->CanCut()},     {ID_SCRIPT_DELETE, text_->CanCut()},
                 {ID_SCRIPT_PASTE, text_->CanPaste()}};
  for (const Entry& entry : entries) {
    int position = textMenu_->FindItemIndex(entry.id);
    if (position >= 0) textMenu_->EnableItem(position, entry.enable);
  }
}

void CVMScriptEditor::ElementSelected() {
  HTREEITEM selected = tree_->GetSelectedItem();
  auto* item = selected ? reinterpret_cast<ScriptToolItem*>(tree_->GetItemData(selected))
                        : nullptr;
  const wchar_t* text = item && item->description ? item->description : L"";
  description_->SetText(text);
  description_->Invalidate(true);
  treeMenu_->EnableItem(0, *text != 0);
}

bool CVMScriptEditor::HandleCommand(WPARAM wParam, LPARAM lParam) {
  if (text_ && lParam && reinterpret_cast<HWND>(lParam) == text_->GetHandle()) {
    if (HIWORD(wParam) == EN_CHANGE) UpdateCaption(true);
    UpdateCaretStatus();
    return true;
  }
  switch (LOWORD(wParam)) {
    case ID_SCRIPT_NEW: NewProgram(); return true;
    case ID_SCRIPT_OPEN: OpenProgram(); return true;
    case ID_SCRIPT_SAVE: SaveProgram(); return true;
    case ID_SCRIPT_CLOSE: PostClose(1); return true;
    case ID_SCRIPT_UNDO: text_->Undo(); return true;
    case ID_SCRIPT_COPY: text_->Copy(); return true;
    case ID_SCRIPT_CUT: text_->Cut(); return true;
    case ID_SCRIPT_PASTE: text_->Paste(); return true;
    case ID_SCRIPT_DELETE: text_->ReplaceSelection(L""); return true;
    case ID_SCRIPT_SELECT_ALL: text_->SelectAll(); return true;
    case ID_SCRIPT_COMPILE: CompileIntoBlock(); return true;
    case ID_SCRIPT_FIND: OpenFind(); return true;
    case ID_SCRIPT_EXAMPLES: ShowExamples(); return true;
    case kScriptAddInput: AddPin(true); return true;
    case kScriptAddOutput: AddPin(false); return true;
    case kScriptDeleteInput: DeletePin(true); return true;
    case kScriptDeleteOutput: DeletePin(false); return true;
    case kScriptInputUp: MovePin(true, true); return true;
    case kScriptOutputUp: MovePin(false, true); return true;
    case kScriptInputDown: MovePin(true, false); return true;
    case kScriptOutputDown: MovePin(false, false); return true;
    case kScriptEditInput: EditPin(true); return true;
    case kScriptEditOutput: EditPin(false); return true;
    case kScriptDeleteAllInputs: DeleteAllPins(true); return true;
    case kScriptDeleteAllOutputs: DeleteAllPins(false); return true;
    case kScriptInsertElement: InsertElement(); return true;
    case kScriptInsertExample: InsertExample(); return true;
    default: return false;
  }
}

bool CVMScriptEditor::HandleNotify(NMHDR* header) {
  if (!header) return false;
  HWND from = header->hwndFrom;
  if (header->code == static_cast<UINT>(LVN_ITEMCHANGED)) {
    if (from == inputs_->GetHandle()) UpdateInputsMenu();
    if (from == outputs_->GetHandle()) UpdateOutputsMenu();
    if (from == examples_->GetHandle()) examplesMenu_->EnableItem(0, examples_->GetSelectedIndex() >= 0);
    return false;
  }
  if (header->code == static_cast<UINT>(TVN_SELCHANGEDW) && from == tree_->GetHandle()) {
    ElementSelected();
    return false;
  }
  if (header->code == static_cast<UINT>(NM_DBLCLK)) {
    UINT command = 0;
    if (from == inputs_->GetHandle()) command = kScriptEditInput;
    if (from == outputs_->GetHandle()) command = kScriptEditOutput;
    if (from == examples_->GetHandle()) command = kScriptInsertExample;
    if (from == tree_->GetHandle()) {
      // A group opens and closes as usual; an element is inserted.
      HTREEITEM selected = tree_->GetSelectedItem();
      if (selected && tree_->GetItemData(selected)) command = kScriptInsertElement;
    }
    if (!command) return false;
    PostMessageW(window_, WM_COMMAND, command, 0);
    return true;
  }
  return false;
}

bool CVMScriptEditor::HandleClose(WPARAM) {
  if (!modified_) {
    CKestForm::WindowProc(WM_CLOSE, 1, 0);
    return true;
  }
  int answer = ShowMessageText(this, MB_YESNOCANCEL | MB_ICONERROR, L"Выход и сохранение",
                               L"Настройки были изменены. Чтобы они вступили в силу необходиом "
                               L"скомпилировать программу. Сделать это сейчас?");
  if (answer == IDYES) {
    if (!CompileIntoBlock()) return true;
    CKestForm::WindowProc(WM_CLOSE, 1, 0);
  } else if (answer == IDNO) {
    CKestForm::WindowProc(WM_CLOSE, 0, 0);
  }
  return true;
}

LRESULT CVMScriptEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsReady()) {
    switch (message) {
      case WM_COMMAND:
        if (HandleCommand(wParam, lParam)) return 0;
        break;
      case WM_NOTIFY:
        if (HandleNotify(reinterpret_cast<NMHDR*>(lParam))) return 1;
        break;
      case WM_CLOSE:
        HandleClose(wParam);
        return 0;
      case WM_INITMENU:
      case WM_INITMENUPOPUP:
        EnableEditMenu();
        break;
      case WM_KEST_MBUTTONDOWN:
        if (text_ && reinterpret_cast<HWND>(lParam) == text_->GetHandle()) EnableTextMenu();
        break;
      case WM_KEST_KEYUP:
      case WM_KEST_LBUTTONUP:
        if (text_ && (reinterpret_cast<HWND>(lParam) == text_->GetHandle() ||
                      reinterpret_cast<HWND>(wParam) == text_->GetHandle()))
          UpdateCaretStatus();
        break;
      default:
        break;
    }
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}
