// The scheme editor window: its palette rows in each mode, the board tabs,
// the tool commands, the bus prompt, the one control panel, the component
// categories through a stand-in browser, the edit queries, the selection
// and tool reports of the view, and closing the main-scheme editor.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/board/pcb_view.h"
#include "app/browser/browser_fixture.h"
#include "app/browser/db_explorer.h"
#include "app/editor/component_chooser.h"
#include "app/editor/editor_fixture.h"
#include "app/resource.h"
#include "kestui/bars/kest_separator.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_tabs.h"
#include "kestui/core/kest_command_ids.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"

namespace {

using apptest::LiveEditors;
using apptest::OnlyEditor;
using apptest::Place;
using apptest::WindowTextOf;
using velktest::DialogAnswerer;

const int kSep = 0;  // a separator in a row listing

class SphEditorTest : public apptest::EditorTest {
protected:
  CMainForm* form_ = nullptr;
  SchScheme* Scheme() { return form_->GetScheme(); }
  // A main form and an editor of the given mode on its scheme.
  CSphEditor* Open(int mode, float w = 0, float h = 0) {
    form_ = MakeMainForm();
    CSphEditor* editor = new CSphEditor(form_, form_->GetScheme(), mode, w, h);
    EXPECT_NE(nullptr, editor->GetHandle());
    return editor;
  }
  void Command(CSphEditor* editor, int id) {
    SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  }
};

// The ids of a palette row's widgets in creation order; separators as 0.
std::vector<int> RowIds(HWND row) {
  std::vector<int> ids;
  for (HWND child = GetWindow(row, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    CKestControl* control = GetControlFromHandle(child);
    if (dynamic_cast<CKestSeparator*>(control)) ids.push_back(kSep);
    else if (dynamic_cast<CKestSpdBtn*>(control)) ids.push_back(GetDlgCtrlID(child));
    else ids.push_back(-1);
  }
  return ids;
}

CKestSpdBtn* ButtonOf(HWND row, int id) {
  for (HWND child = GetWindow(row, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgCtrlID(child) == id) return dynamic_cast<CKestSpdBtn*>(GetControlFromHandle(child));
  return nullptr;
}

std::vector<int> PressedIds(CSphEditor* editor) {
  std::vector<int> ids;
  for (int i = 0; i < editor->GetPaletteCount(); i++) {
    CKestSpdBtn* b = editor->GetPaletteButton(i);
    if (b->IsDown()) ids.push_back(GetDlgCtrlID(b->GetHandle()));
  }
  return ids;
}

std::vector<int> PaletteIds(CSphEditor* editor) {
  std::vector<int> ids;
  for (int i = 0; i < editor->GetPaletteCount(); i++) ids.push_back(GetDlgCtrlID(editor->GetPaletteButton(i)->GetHandle()));
  return ids;
}

const std::map<int, std::wstring> kHints = {
    {109, L"Курсор"},
    {103, L"Двухжильный провод"},
    {104, L"Трехжильный провод"},
    {108, L"Шина"},
    {123, L"\"Земля\""},
    {153, L"Пульт управления"},
    {131, L"Преобразователь USB-COM"},
    {155, L"Инжектор питания Ethernet (PoE)"},
    {154, L"Инжектор питания для ВЧ-кабеля"},
    {199, L"Резисторы (терминаторы)"},
    {160, L"Аккумуляторные батареи"},
    {158, L"Блоки питания"},
    {159, L"Сетевое оборудование"},
    {113, L"T-образное соединение шлангов"},
    {114, L"Разветвитель на 5 шлангов"},
    {110, L"Удалить"},
    {135, L"Мультиметр"},
    {125, L"Увеличить масштаб"},
    {124, L"Уменьшить масштаб"},
    {115, L"Разъемы"},
    {127, L"DC-DC преобразователи"},
    {122, L"Микроконтроллеры"},
    {126, L"Силовые ключи (drivers)"},
    {139, L"Драйверы RS-232"},
    {164, L"Микросхемы стандартной логики"},
    {166, L"Отдельные электронные компоненты"},
    {3000, L"Удалить"},
};

void CheckRow(HWND row, const std::vector<int>& expected) {
  ASSERT_NE(nullptr, row);
  EXPECT_EQ(expected, RowIds(row));
  CKestPanel* panel = dynamic_cast<CKestPanel*>(GetControlFromHandle(row));
  ASSERT_NE(nullptr, panel);
  EXPECT_GT(panel->GetBevel(), 0);
  EXPECT_EQ(KEST_POS_TOP, panel->GetPositionCode());
  EXPECT_EQ(50, panel->GetHeight());
  int previousRight = -1;
  for (int id : expected) {
    if (id == kSep) {
      previousRight = -1;
      continue;
    }
    CKestSpdBtn* b = ButtonOf(row, id);
    ASSERT_NE(nullptr, b) << id;
    EXPECT_EQ(42, b->GetWidth()) << id;
    EXPECT_EQ(42, b->GetHeight()) << id;
    ASSERT_NE(nullptr, b->GetHint()) << id;
    EXPECT_EQ(kHints.at(id), b->GetHint()) << id;
    EXPECT_NE(nullptr, b->GetImage()) << "bitmap of " << id;
    // No gap between neighbouring buttons.
    POINT at = b->GetPosition();
    if (previousRight >= 0) {
      EXPECT_EQ(previousRight, at.x) << id;
    }
    previousRight = at.x + 42;
  }
}

TEST_F(SphEditorTest, MainSchemePalette) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  EXPECT_EQ(L"Основная схема", WindowTextOf(editor->GetHandle()));
  EXPECT_EQ(nullptr, editor->GetTabControl());
  EXPECT_EQ(nullptr, editor->GetBoardDeleteButton());
  ASSERT_NE(nullptr, editor->GetSchemeDeleteButton());
  HWND row = GetParent(editor->GetSchemeDeleteButton()->GetHandle());
  EXPECT_EQ(editor->GetHandle(), GetParent(row));
  CheckRow(row, {109, kSep, 103, 104, 108, kSep, 153, kSep, 131, 155, 154, 199, kSep, 113, 114, kSep, 110, kSep, 135});
  EXPECT_EQ((std::vector<int>{109, 103, 104, 108, 153, 131, 155, 154, 199, 113, 114, 135}), PaletteIds(editor));
  EXPECT_EQ(std::vector<int>{109}, PressedIds(editor));
  EXPECT_FALSE(editor->GetSchemeDeleteButton()->IsEnabled());
  EXPECT_FALSE(editor->GetSchemeDeleteButton()->IsToggle());
  ASSERT_NE(nullptr, editor->GetSchemeView());
  EXPECT_EQ(KEST_POS_CLIENT, editor->GetSchemeView()->GetPositionCode());
  EXPECT_EQ(Scheme(), editor->GetSchemeView()->GetScheme());
  EXPECT_EQ(2, editor->GetSchemeView()->cores);
}

TEST_F(SphEditorTest, ControlPanelSchemePalette) {
  CSphEditor* editor = Open(CSphEditor::kEditorPanel);
  EXPECT_EQ(L"Схема пульта управления", WindowTextOf(editor->GetHandle()));
  HWND row = GetParent(editor->GetSchemeDeleteButton()->GetHandle());
  CheckRow(row, {109, kSep, 103, 104, 108, kSep, 131, 155, 154, 199, kSep, 160, 158, 159, 110, kSep, 135});
  EXPECT_EQ((std::vector<int>{109, 103, 104, 108, 131, 155, 154, 199, 160, 158, 159, 135}), PaletteIds(editor));
  EXPECT_EQ(std::vector<int>{109}, PressedIds(editor));
}

TEST_F(SphEditorTest, BoardEditorHasTwoTabs) {
  CSphEditor* editor = Open(CSphEditor::kEditorBoard, 50.f, 30.f);
  EXPECT_EQ(L"Основная схема", WindowTextOf(editor->GetHandle()));
  EXPECT_FLOAT_EQ(50.f, editor->GetBoardWidth());
  EXPECT_FLOAT_EQ(30.f, editor->GetBoardHeight());
  CKestTabControl* tabs = editor->GetTabControl();
  ASSERT_NE(nullptr, tabs);
  EXPECT_EQ(kVelkEditorTabsId, GetDlgCtrlID(tabs->GetHandle()));
  ASSERT_EQ(2, tabs->GetTabCount());
  EXPECT_STREQ(L"Макет печатной платы", tabs->GetCaption(0));
  EXPECT_STREQ(L"Электронная схема", tabs->GetCaption(1));
  EXPECT_EQ(0, tabs->GetSelectedTab());
  EXPECT_TRUE(editor->IsBoardPageShown());
  // The board palette on the first page.
  ASSERT_NE(nullptr, editor->GetBoardDeleteButton());
  HWND boardRow = GetParent(editor->GetBoardDeleteButton()->GetHandle());
  EXPECT_EQ(tabs->GetPage(0)->GetHandle(), GetParent(boardRow));
  CheckRow(boardRow, {125, 124, kSep, 115, 127, 122, 126, 139, 164, 166, kSep, 3000});
  EXPECT_FALSE(editor->GetBoardDeleteButton()->IsEnabled());
  // The scheme palette and view on the second.
  HWND schemeRow = GetParent(editor->GetSchemeDeleteButton()->GetHandle());
  EXPECT_EQ(tabs->GetPage(1)->GetHandle(), GetParent(schemeRow));
  CheckRow(schemeRow, {109, kSep, 108, 123, kSep, 110, kSep, 135});
  EXPECT_EQ((std::vector<int>{109, 108, 123, 135}), PaletteIds(editor));
  EXPECT_EQ(tabs->GetPage(1)->GetHandle(), GetParent(editor->GetSchemeView()->GetHandle()));
  tabs->SelectTab(1);
  EXPECT_FALSE(editor->IsBoardPageShown());
}

TEST_F(SphEditorTest, ToolCommandsSetTheViewAndPressTheirButton) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  CSchemeView* view = editor->GetSchemeView();
  struct Case {
    int id;
    int tool;
    const char* className;
    int cores;
  };
  const Case cases[] = {
      {103, CSchemeView::kToolBus, nullptr, 2},         {104, CSchemeView::kToolBus, nullptr, 3},
      {113, CSchemeView::kToolPlaceClass, "T_GIDRO", -1}, {114, CSchemeView::kToolPlaceClass, "5_GIDRO", -1},
      {131, CSchemeView::kToolPlaceClass, "USB-COM", -1}, {135, CSchemeView::kToolPlaceClass, "Multimeter", -1},
      {154, CSchemeView::kToolPlaceClass, "Injector", -1}, {155, CSchemeView::kToolPlaceClass, "PoE", -1},
      {153, CSchemeView::kToolPlaceClass, "PULT", -1},    {109, CSchemeView::kToolSelect, nullptr, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    view->state = 3;
    view->cores = 9;
    Command(editor, c.id);
    EXPECT_EQ(c.tool, view->tool);
    EXPECT_EQ(0, view->state);
    if (c.className) {
      EXPECT_STREQ(c.className, view->className);
    }
    EXPECT_EQ(c.cores < 0 ? 9 : c.cores, view->cores);
    EXPECT_EQ(std::vector<int>{c.id}, PressedIds(editor));
  }
}

TEST_F(SphEditorTest, ClickingAPaletteButtonChoosesItsTool) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  form_->Show(false);
  HWND row = GetParent(editor->GetSchemeDeleteButton()->GetHandle());
  CKestSpdBtn* tee = ButtonOf(row, 113);
  ASSERT_NE(nullptr, tee);
  SendMessageW(tee->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(tee->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  velktest::FlushEvents();
  EXPECT_EQ(CSchemeView::kToolPlaceClass, editor->GetSchemeView()->tool);
  EXPECT_STREQ("T_GIDRO", editor->GetSchemeView()->className);
  EXPECT_EQ(std::vector<int>{113}, PressedIds(editor));
}

TEST_F(SphEditorTest, GroundButtonOfTheBoardScheme) {
  CSphEditor* editor = Open(CSphEditor::kEditorBoard);
  Command(editor, 123);
  EXPECT_EQ(CSchemeView::kToolPlaceClass, editor->GetSchemeView()->tool);
  EXPECT_STREQ("GND", editor->GetSchemeView()->className);
  EXPECT_EQ(std::vector<int>{123}, PressedIds(editor));
}

TEST_F(SphEditorTest, ViewReportsPressOrReleaseTheButtons) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  Command(editor, 113);
  SendMessageW(editor->GetHandle(), WM_EDITOR_TOOL_FINISHED, 0, 109);
  EXPECT_EQ(std::vector<int>{109}, PressedIds(editor));
  SendMessageW(editor->GetHandle(), WM_EDITOR_TOOL_FINISHED, 0, 0);
  EXPECT_TRUE(PressedIds(editor).empty());
  editor->CheckToolButton(135);
  EXPECT_EQ(std::vector<int>{135}, PressedIds(editor));
}

TEST_F(SphEditorTest, DeleteButtonFollowsTheSelection) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  CSCHBlock* ground = Place(Scheme(), "GND", 50, 50);
  CSchemeView* view = editor->GetSchemeView();
  view->SelectAll(true);  // reports the change to the editor
  EXPECT_TRUE(editor->GetSchemeDeleteButton()->IsEnabled());
  // A board part alone does not count.
  ground->flags |= kSchBoardPart;
  SendMessageW(editor->GetHandle(), WM_EDITOR_SELECTION_CHANGED, 0, 0);
  EXPECT_FALSE(editor->GetSchemeDeleteButton()->IsEnabled());
  ground->flags &= static_cast<unsigned char>(~kSchBoardPart);
  SendMessageW(editor->GetHandle(), WM_EDITOR_SELECTION_CHANGED, 0, 0);
  EXPECT_TRUE(editor->GetSchemeDeleteButton()->IsEnabled());
  Command(editor, 110);
  EXPECT_EQ(0, Scheme()->BlockCount());
  EXPECT_FALSE(editor->GetSchemeDeleteButton()->IsEnabled());
  EXPECT_TRUE(form_->IsModified());
}

TEST_F(SphEditorTest, QueriesOfTheMainWindow) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  HWND w = editor->GetHandle();
  Place(Scheme(), "GND", 50, 50)->flags |= kSchSelected;
  EXPECT_EQ(1, SendMessageW(w, WM_KEST_CANSELECTALL, 0, 0));
  EXPECT_EQ(1, SendMessageW(w, WM_CAN_COPY_PICTURE, 0, 0));
  EXPECT_EQ(0, SendMessageW(w, WM_KEST_CANCOPY, 0, 0));
  EXPECT_EQ(0, SendMessageW(w, WM_KEST_CANCUT, 0, 0));
  EXPECT_EQ(0, SendMessageW(w, EM_CANPASTE, 0, 0));
  // Delete needs the view's focus and a selection.
  form_->Show(false);
  SetFocus(nullptr);
  EXPECT_EQ(0, SendMessageW(w, WM_KEST_CANDELETE, 0, 0));
  editor->GetSchemeView()->SetFocus();
  ASSERT_TRUE(editor->GetSchemeView()->HasFocus());
  EXPECT_EQ(1, SendMessageW(w, WM_KEST_CANDELETE, 0, 0));
  editor->GetSchemeView()->SelectAll(false);
  EXPECT_EQ(0, SendMessageW(w, WM_KEST_CANDELETE, 0, 0));
}

TEST_F(SphEditorTest, MainWindowSelectAllAndDeleteReachTheView) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  form_->Show(false);
  Place(Scheme(), "GND", 50, 50);
  Place(Scheme(), "Multimeter", 150, 50);
  SendMessageW(form_->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_KEST_SELECT_ALL, 0), 0);
  EXPECT_TRUE(editor->GetSchemeView()->HasSelection(true));
  // Delete acts only while the view has the focus.
  SetFocus(nullptr);
  SendMessageW(form_->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_KEST_DELETE, 0), 0);
  EXPECT_EQ(2, Scheme()->BlockCount());
  editor->GetSchemeView()->SetFocus();
  SendMessageW(form_->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_KEST_DELETE, 0), 0);
  EXPECT_EQ(0, Scheme()->BlockCount());
}

TEST_F(SphEditorTest, OneControlPanelOnly) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  Place(Scheme(), "PULT", 100, 100);
  DialogAnswerer answer(IDOK);
  Command(editor, 153);
  ASSERT_EQ(1, answer.Count());
  EXPECT_EQ(L"Пульт управления уже установлен", answer.Texts()[0]);
  EXPECT_EQ(L"Ошибка", answer.Captions()[0]);
  EXPECT_EQ(CSchemeView::kToolSelect, editor->GetSchemeView()->tool);
  EXPECT_EQ(std::vector<int>{109}, PressedIds(editor));
}

// ---------------------------------------------------------------- bus prompt

// Answers the bus prompt: each answer is a text typed over the preset and
// "OK", or null for "Отмена". Remembers what each prompt showed.
class BusPromptAnswerer {
public:
  explicit BusPromptAnswerer(std::vector<const wchar_t*> answers) : answers_(std::move(answers)) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~BusPromptAnswerer() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  std::vector<std::wstring> captions, prompts, presets;

private:
  static BOOL CALLBACK FindPrompt(HWND child, LPARAM out) {
    wchar_t cls[64] = L"";
    GetClassNameW(child, cls, 64);
    if (wcscmp(cls, L"MainClass") == 0 && GetWindowTextLengthW(child) > 0)
      *reinterpret_cast<std::wstring*>(out) = WindowTextOf(child);
    return TRUE;
  }
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_) {
      HWND w = reinterpret_cast<HWND>(wParam);
      HWND edit = FindWindowExW(w, nullptr, L"Edit", nullptr);
      if (edit && !GetPropW(w, L"BusPromptSeen")) {
        SetPropW(w, L"BusPromptSeen", reinterpret_cast<HANDLE>(1));
        BusPromptAnswerer* self = current_;
        self->captions.push_back(WindowTextOf(w));
        std::wstring prompt;
        EnumChildWindows(w, FindPrompt, reinterpret_cast<LPARAM>(&prompt));
        self->prompts.push_back(prompt);
        self->presets.push_back(WindowTextOf(edit));
        size_t n = self->captions.size() - 1;
        const wchar_t* answer = n < self->answers_.size() ? self->answers_[n] : nullptr;
        if (answer) {
          SetWindowTextW(edit, answer);
          PostMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
        } else {
          PostMessageW(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0);
        }
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static BusPromptAnswerer* current_;
  HHOOK hook_;
  std::vector<const wchar_t*> answers_;
};
BusPromptAnswerer* BusPromptAnswerer::current_ = nullptr;

TEST_F(SphEditorTest, BusPromptAcceptsTwoToSixtyFour) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  form_->Show(false);
  CSchemeView* view = editor->GetSchemeView();
  CSphEditor::SetBusCoresPreset(8);
  {
    BusPromptAnswerer prompt({L"12"});
    Command(editor, 108);
    ASSERT_EQ(1u, prompt.captions.size());
    EXPECT_EQ(L"Шина", prompt.captions[0]);
    EXPECT_EQ(L"Введите число жил:", prompt.prompts[0]);
    EXPECT_EQ(L"8", prompt.presets[0]);
  }
  EXPECT_EQ(CSchemeView::kToolBus, view->tool);
  EXPECT_EQ(12, view->cores);
  EXPECT_EQ(std::vector<int>{108}, PressedIds(editor));
  for (const wchar_t* edge : {L"2", L"64", L"+7x"}) {
    BusPromptAnswerer prompt({edge});
    Command(editor, 108);
    EXPECT_EQ(CSchemeView::kToolBus, view->tool);
  }
  EXPECT_EQ(7, view->cores);
  EXPECT_EQ(7, CSphEditor::GetBusCoresPreset());
}

TEST_F(SphEditorTest, BusPromptRefusesOtherCountsAndPresetsThemNextTime) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  form_->Show(false);
  CSchemeView* view = editor->GetSchemeView();
  CSphEditor::SetBusCoresPreset(8);
  struct Case {
    const wchar_t* typed;
    const wchar_t* nextPreset;
  };
  const Case cases[] = {{L"1", L"1"}, {L"65", L"65"}, {L"abc", L"0"}, {L"-3", L"-3"}};
  const wchar_t* preset = L"8";
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "typed " << std::string(c.typed, c.typed + wcslen(c.typed)));
    view->cores = 5;
    DialogAnswerer box(IDOK);
    BusPromptAnswerer prompt({c.typed});
    Command(editor, 108);
    ASSERT_EQ(1u, prompt.presets.size());
    EXPECT_EQ(preset, prompt.presets[0]);
    ASSERT_EQ(1, box.Count());
    EXPECT_EQ(L"Число жил должно быть от 2 до 64!", box.Texts()[0]);
    EXPECT_EQ(L"Ошибка", box.Captions()[0]);
    EXPECT_EQ(CSchemeView::kToolSelect, view->tool);
    EXPECT_EQ(5, view->cores);
    EXPECT_TRUE(PressedIds(editor).empty());
    preset = c.nextPreset;
  }
}

TEST_F(SphEditorTest, CancelledBusPromptGoesBackToTheCursor) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  form_->Show(false);
  CSphEditor::SetBusCoresPreset(8);
  BusPromptAnswerer prompt({nullptr});
  Command(editor, 108);
  EXPECT_EQ(1u, prompt.captions.size());
  EXPECT_EQ(CSchemeView::kToolSelect, editor->GetSchemeView()->tool);
  EXPECT_EQ(std::vector<int>{109}, PressedIds(editor));
  EXPECT_EQ(8, CSphEditor::GetBusCoresPreset());
}

// ---------------------------------------------------------------- categories

// A stand-in for the component browser: remembers the tables it was
// opened on and hands out the record it was given (none: cancelled).
class StandInChooser : public CComponentChooser {
public:
  bool Choose(CKestControl* owner, const wchar_t* tables, const ComponentRecordUse& use) override {
    owners.push_back(owner);
    this->tables.push_back(tables ? tables : L"");
    if (!record) return false;
    use(record);
    return true;
  }
  CompDbRecord* record = nullptr;
  std::vector<CKestControl*> owners;
  std::vector<std::wstring> tables;
};

// A component that remembers the record applied to it.
class RecordingPart : public CSCHBlock {
public:
  void ApplyDbRecord(CompDbRecord* r) override {
    applied = r;
    CSCHBlock::ApplyDbRecord(r);
  }
  CompDbRecord* applied = nullptr;
};
CSCHBlock* CreateRecordingPart() { return new RecordingPart; }

// A table read from its file text: caption, headings, keys, choices, rows.
std::unique_ptr<CompDbTable> MakeTable(const wchar_t* name, const char* rows) {
  std::unique_ptr<CompDbTable> table(new CompDbTable(name));
  std::string text = std::string("Таблица\nМодель\tКласс\tЦена\nmodel\tclass\tprice\n\t\t\n") + rows;
  EXPECT_TRUE(table->LoadFromBytes(text.data(), text.size()));
  return table;
}

TEST_F(SphEditorTest, SchemeCategoriesCreateTheChosenComponent) {
  struct Case {
    int id;
    const wchar_t* tables;
    const char* className;
  };
  const Case cases[] = {
      {160, L"batteries", "Battery"},
      {158, L"powersupply", "POWER_SUPPLY"},
      {159, L"routers", "Router"},
      {199, L"resisters", "Resister"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    CSphEditor* editor = Open(c.id == 199 ? CSphEditor::kEditorMain : CSphEditor::kEditorPanel);
    StandInChooser chooser;
    editor->SetComponentChooser(&chooser);
    ASSERT_TRUE(g_schClassRegistry.SetCreator(c.className, CreateRecordingPart));
    std::unique_ptr<CompDbTable> table = MakeTable(c.tables, "AB-12\tx\t10\n");
    chooser.record = table->GetRecord(0);
    Command(editor, c.id);
    ASSERT_EQ(1u, chooser.tables.size());
    EXPECT_EQ(c.tables, chooser.tables[0]);
    EXPECT_EQ(editor, chooser.owners[0]);
    ASSERT_EQ(1, Scheme()->BlockCount());
    RecordingPart* made = dynamic_cast<RecordingPart*>(Scheme()->blocks);
    ASSERT_NE(nullptr, made);
    EXPECT_STREQ(c.className, made->className);
    EXPECT_EQ(chooser.record, made->applied);
    EXPECT_STREQ("AB-12", made->model);
    EXPECT_EQ(made, editor->GetSchemeView()->object);
    EXPECT_EQ(CSchemeView::kToolPlaceBlock, editor->GetSchemeView()->tool);
    EXPECT_EQ(std::vector<int>{c.id}, PressedIds(editor));
    ClearAll();
  }
}

TEST_F(SphEditorTest, CancelledOrUncreatableCategoryChangesNothing) {
  CSphEditor* editor = Open(CSphEditor::kEditorPanel);
  StandInChooser chooser;
  editor->SetComponentChooser(&chooser);
  Command(editor, 135);
  Command(editor, 160);  // cancelled
  EXPECT_EQ(1u, chooser.tables.size());
  EXPECT_EQ(0, Scheme()->BlockCount());
  EXPECT_EQ(CSchemeView::kToolPlaceClass, editor->GetSchemeView()->tool);
  EXPECT_EQ(std::vector<int>{135}, PressedIds(editor));
  // A record of a class the registry cannot create.
  std::unique_ptr<CompDbTable> table = MakeTable(L"routers", "WR-1\tx\t1\n");
  chooser.record = table->GetRecord(0);
  Command(editor, 159);
  EXPECT_EQ(0, Scheme()->BlockCount());
  EXPECT_EQ(CSchemeView::kToolPlaceClass, editor->GetSchemeView()->tool);
  EXPECT_EQ(std::vector<int>{135}, PressedIds(editor));
}

TEST_F(SphEditorTest, BoardCategoriesCreateBoardParts) {
  struct Case {
    int id;
    const wchar_t* tables;
    const wchar_t* recordTable;
    const char* classCell;
    const char* className;
  };
  const Case cases[] = {
      {115, L"connectors", L"connectors", "PLS", "PLS"},
      {127, L"DC-DC", L"DC-DC", "MPW", "MPW"},
      {122, L"avr", L"avr", "AVR", "AVR"},
      {126, L"drivers", L"drivers", "L6203", "L6203"},
      {139, L"max232;max485;FT232", L"max485", "MAX485", "MAX485"},
      {164, L"stdlogic", L"stdlogic", "ignored", "StdLogic"},
      {166, L"resisters;relays;bitransistor;cmostransistor;diod;capacitors", L"relays", "x", "Relay"},
      {166, L"resisters;relays;bitransistor;cmostransistor;diod;capacitors", L"capacitors", "x", "Capacitor"},
      {166, L"resisters;relays;bitransistor;cmostransistor;diod;capacitors", L"diod", "x", "diod"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " " << c.className);
    CSphEditor* editor = Open(CSphEditor::kEditorBoard);
    StandInChooser chooser;
    editor->SetComponentChooser(&chooser);
    ASSERT_TRUE(g_schClassRegistry.SetCreator(c.className, CreateRecordingPart));
    std::unique_ptr<CompDbTable> table = MakeTable(c.recordTable, (std::string("M1\t") + c.classCell + "\t3\n").c_str());
    chooser.record = table->GetRecord(0);
    Command(editor, c.id);
    ASSERT_EQ(1u, chooser.tables.size());
    EXPECT_EQ(c.tables, chooser.tables[0]);
    ASSERT_EQ(1, Scheme()->BlockCount());
    RecordingPart* made = dynamic_cast<RecordingPart*>(Scheme()->blocks);
    ASSERT_NE(nullptr, made);
    EXPECT_STREQ(c.className, made->className);
    EXPECT_TRUE(made->flags & kSchBoardPart);
    EXPECT_EQ(chooser.record, made->applied);
    ClearAll();
    g_schClassRegistry.SetCreator(c.className, nullptr);
  }
}

// Once through the real database browser: the category opens it on its
// table, the second model is selected and "Выбрать" pressed inside its modal
// loop; then a cancelled browser changes nothing.
TEST_F(SphEditorTest, TheRealBrowserChoosesTheBatteryModel) {
  browsertest::TestDatabase db;
  db.WriteTable(L"batteries",
                L"Аккумуляторы\n"
                L"Модель:100\tЦена:60\n"
                L"model\tprice\n"
                L"\t\n"
                L"B-1\t10\n"
                L"B-2\t20\n");
  ASSERT_TRUE(g_schClassRegistry.SetCreator("Battery", CreateRecordingPart));
  CSphEditor* editor = Open(CSphEditor::kEditorPanel);
  form_->Show(false);
  std::vector<std::wstring> tableNames;
  auto findExplorer = [] {
    CDBExplorer* found = nullptr;
    for (int i = 0; i < LiveForms.count; i++)
      if (CDBExplorer* e = dynamic_cast<CDBExplorer*>(LiveForms.forms[i])) found = e;
    return found;
  };
  browsertest::LoopProbe choose([&] {
    CDBExplorer* explorer = findExplorer();
    ASSERT_NE(nullptr, explorer);
    for (int i = 0; i < explorer->GetTableCount(); i++) tableNames.push_back(explorer->GetTable(i)->GetName());
    HWND list = explorer->GetModelList()->GetHandle();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    PostMessageW(explorer->GetChooseButton()->GetHandle(), BM_CLICK, 0, 0);
  });
  choose.Post();
  Command(editor, 160);
  EXPECT_TRUE(choose.Ran());
  EXPECT_EQ(std::vector<std::wstring>{L"batteries"}, tableNames);
  EXPECT_EQ(nullptr, findExplorer());
  ASSERT_EQ(1, Scheme()->BlockCount());
  RecordingPart* made = dynamic_cast<RecordingPart*>(Scheme()->blocks);
  ASSERT_NE(nullptr, made);
  EXPECT_STREQ("Battery", made->className);
  EXPECT_STREQ("B-2", made->model);
  EXPECT_EQ(CSchemeView::kToolPlaceBlock, editor->GetSchemeView()->tool);

  browsertest::LoopProbe cancel([&] {
    CDBExplorer* explorer = findExplorer();
    ASSERT_NE(nullptr, explorer);
    PostMessageW(explorer->GetCancelButton()->GetHandle(), BM_CLICK, 0, 0);
  });
  cancel.Post();
  Command(editor, 160);
  EXPECT_TRUE(cancel.Ran());
  EXPECT_EQ(1, Scheme()->BlockCount());
  g_schClassRegistry.SetCreator("Battery", nullptr);
}

// The board page hosts the board view on the board's scheme: a part picked
// from the board palette follows the mouse there, the zoom buttons zoom it,
// and its selection enables the board palette's Delete.
TEST_F(SphEditorTest, TheBoardPageHostsTheBoardView) {
  CSphEditor* editor = Open(CSphEditor::kEditorBoard, 60.f, 40.f);
  form_->Show(false);
  CPCBView* board = editor->GetBoardView();
  ASSERT_NE(nullptr, board);
  EXPECT_EQ(Scheme(), board->GetScheme());
  EXPECT_EQ(60.f, board->boardWidth);
  EXPECT_EQ(40.f, board->boardHeight);
  StandInChooser chooser;
  editor->SetComponentChooser(&chooser);
  ASSERT_TRUE(g_schClassRegistry.SetCreator("PLS", CreateRecordingPart));
  std::unique_ptr<CompDbTable> table = MakeTable(L"connectors", "M1\tPLS\t3\n");
  chooser.record = table->GetRecord(0);
  Command(editor, CSphEditor::kPalConnectors);
  ASSERT_EQ(1, Scheme()->BlockCount());
  EXPECT_EQ(Scheme()->blocks, board->currentPart);
  EXPECT_EQ(CPCBView::kToolPlace, board->tool);
  Command(editor, CSphEditor::kPalZoomIn);
  EXPECT_FLOAT_EQ(6.0f, board->scale);
  Command(editor, CSphEditor::kPalZoomOut);
  EXPECT_FLOAT_EQ(4.0f, board->scale);
  EXPECT_FALSE(editor->GetBoardDeleteButton()->IsEnabled());
  board->tool = CPCBView::kToolNormal;
  Scheme()->blocks->footprintWidth = 5;
  Scheme()->blocks->footprintLength = 5;
  board->SelectAll(true);
  EXPECT_TRUE(editor->GetBoardDeleteButton()->IsEnabled());
  board->SelectAll(false);
  EXPECT_FALSE(editor->GetBoardDeleteButton()->IsEnabled());
  g_schClassRegistry.SetCreator("PLS", nullptr);
}

// Copy from the main window's Edit menu while the board view has the focus,
// then the board popup's paste: the pasted parts stand 20 pixels beside the
// copied ones on the scheme, selected in both views.
TEST_F(SphEditorTest, BoardPasteOffsetsThePastedPartsOnTheScheme) {
  CSphEditor* editor = Open(CSphEditor::kEditorBoard, 60.f, 40.f);
  form_->Show(false);
  RegisterClipboardFormats();
  ASSERT_TRUE(g_schClassRegistry.SetCreator("PLS", CreateRecordingPart));
  CSCHBlock* part = Scheme()->CreateBlock("PLS");
  ASSERT_NE(nullptr, part);
  part->MoveTo(100, 60);
  part->footprintWidth = part->footprintLength = 5;
  CPCBView* board = editor->GetBoardView();
  board->SelectAll(true);
  // Without the focus the Edit menu's copy does nothing.
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  Command(editor, WM_COPY);
  EXPECT_FALSE(IsPcbClipboardAvailable());
  SetFocus(board->GetHandle());
  EXPECT_EQ(1, SendMessageW(editor->GetHandle(), WM_KEST_CANCOPY, 0, 0));
  Command(editor, WM_COPY);
  ASSERT_TRUE(IsPcbClipboardAvailable());
  EXPECT_EQ(1, SendMessageW(editor->GetHandle(), EM_CANPASTE, 0, 0));
  Command(editor, CPCBView::kCmdPaste);
  ASSERT_EQ(2, Scheme()->BlockCount());
  CSCHBlock* pasted = Scheme()->blocks;
  ASSERT_NE(part, pasted);
  EXPECT_EQ(part->rect.left + 20, pasted->rect.left);
  EXPECT_EQ(part->rect.top + 20, pasted->rect.top);
  EXPECT_TRUE(pasted->flags & kSchSelected);
  EXPECT_TRUE(pasted->flags & kSchBoardSelected);
  EXPECT_FALSE(part->flags & kSchSelected);
  g_schClassRegistry.SetCreator("PLS", nullptr);
}

// ---------------------------------------------------------------- pictures

// A stand-in for the picture export: a memory context whose drawing it keeps.
class StandInExporter : public CPictureExporter {
public:
  HDC Begin(int kind, const RECT& rect) override {
    kinds.push_back(kind);
    rects.push_back(rect);
    if (cancel) return nullptr;
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, 700, 700);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 700, 700};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return dc;
  }
  void End(int kind, HDC ended) override {
    endKinds.push_back(kind);
    EXPECT_EQ(dc, ended);
    // A wire drawn outside the window is in the picture.
    wirePixel = GetPixel(dc, 400, 600);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  bool cancel = false;
  std::vector<int> kinds, endKinds;
  std::vector<RECT> rects;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  COLORREF wirePixel = CLR_INVALID;
};

TEST_F(SphEditorTest, PictureCommandsDrawTheWholeScheme) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  CSchemeView* view = editor->GetSchemeView();
  StandInExporter exporter;
  view->SetPictureExporter(&exporter);
  // A wire far below the window, between two junctions.
  SchWire* w = new SchWire(Scheme());
  w->firstDir = 2;
  SchJunction* a = new SchJunction(Scheme());
  a->x = 300;
  a->y = 600;
  SchJunction* b = new SchJunction(Scheme());
  b->x = 500;
  b->y = 600;
  ASSERT_TRUE(w->AttachToJunction(0, a));
  ASSERT_TRUE(w->AttachToJunction(1, b));
  view->UpdateScrollRange();
  const int commands[] = {40031, 40033, 40035};
  for (int i = 0; i < 3; i++) {
    exporter.wirePixel = CLR_INVALID;
    Command(editor, commands[i]);
    ASSERT_EQ(static_cast<size_t>(i + 1), exporter.kinds.size());
    EXPECT_EQ(i, exporter.kinds[i]);
    EXPECT_EQ(i, exporter.endKinds[i]);
    // The rectangle of the scroll ranges: (0, 0, 10, 10) joined with the
    // junction boxes (296, 596, 504, 604), grown by 20.
    EXPECT_EQ(-20, exporter.rects[i].left);
    EXPECT_EQ(-20, exporter.rects[i].top);
    EXPECT_EQ(524, exporter.rects[i].right);
    EXPECT_EQ(624, exporter.rects[i].bottom);
    EXPECT_EQ(RGB(0, 0, 0), exporter.wirePixel);
  }
  // Cancelled: nothing is drawn and nothing ended.
  exporter.cancel = true;
  Command(editor, 40033);
  EXPECT_EQ(4u, exporter.kinds.size());
  EXPECT_EQ(3u, exporter.endKinds.size());
}

// A board component: its nested scheme opens in a board editor.
class BoardStandIn : public CSCHBlock {
public:
  BoardStandIn() {
    className = "PCB";
    nestedScheme = new SchScheme;
    footprintWidth = 40.f;
    footprintLength = 25.f;
  }
  ~BoardStandIn() override {
    CSphEditor::CloseEditorsOfScheme(nestedScheme);
    delete nestedScheme;
    nestedScheme = nullptr;
  }
};

TEST_F(SphEditorTest, PropertiesOpenTheBoardOrTheComponent) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  BoardStandIn* board = new BoardStandIn;
  board->Attach(Scheme());
  board->MoveTo(100, 100);
  board->SetName(L"Плата управления");
  CSchemeView* view = editor->GetSchemeView();
  view->currentPoint = POINT{110, 110};
  Command(editor, 3001);
  ASSERT_EQ(2u, LiveEditors().size());
  CSphEditor* boardEditor = LiveEditors()[1];
  EXPECT_EQ(CSphEditor::kEditorBoard, boardEditor->GetMode());
  EXPECT_EQ(board->nestedScheme, boardEditor->GetScheme());
  EXPECT_FLOAT_EQ(40.f, boardEditor->GetBoardWidth());
  EXPECT_FLOAT_EQ(25.f, boardEditor->GetBoardHeight());
  EXPECT_EQ(L"Плата управления", WindowTextOf(boardEditor->GetHandle()));
  // Away from any component nothing opens.
  view->currentPoint = POINT{900, 900};
  Command(editor, 3001);
  EXPECT_EQ(2u, LiveEditors().size());
  // Deleting the board lets its editor go.
  delete board;
  EXPECT_EQ(nullptr, boardEditor->GetScheme());
  velktest::FlushEvents();
  EXPECT_EQ(1u, LiveEditors().size());
}

// ---------------------------------------------------------------- closing

TEST_F(SphEditorTest, ClosingTheMainSchemeEditorAsksTheMainWindow) {
  form_ = MakeMainForm();
  apptest::SampleScheme sample(form_->GetScheme());
  velktest::TempFolder folder;
  form_->SetFileName(folder.File(L"robot.vlkx").c_str());
  CSphEditor* editor = new CSphEditor(form_, form_->GetScheme(), CSphEditor::kEditorMain, 0, 0);
  editor->SetMainScheme(true);
  editor->GetSchemeView()->tool = CSchemeView::kToolWire;
  editor->GetSchemeView()->state = 1;
  SendMessageW(form_->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
  HWND main = form_->GetHandle();
  {
    // Cancel: the program stays with its scheme, without the editor.
    DialogAnswerer answer(IDCANCEL);
    SendMessageW(editor->GetHandle(), WM_CLOSE, 0, 0);
    velktest::FlushEvents();
    ASSERT_EQ(1, answer.Count());
    EXPECT_EQ(L"Схема не сохранена. Сохранить?", answer.Texts()[0]);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(LiveEditors().empty());
    EXPECT_EQ(5, form_->GetScheme()->BlockCount());
  }
  // A nested editor does not ask the main window.
  CSphEditor* panel = new CSphEditor(form_, form_->GetScheme(), CSphEditor::kEditorPanel, 0, 0);
  DialogAnswerer none(IDCANCEL);
  SendMessageW(panel->GetHandle(), WM_CLOSE, 0, 0);
  velktest::FlushEvents();
  EXPECT_EQ(0, none.Count());
  EXPECT_TRUE(LiveEditors().empty());
}

TEST_F(SphEditorTest, ClosingTheEditorOfAnUnmodifiedDocumentEndsTheProgram) {
  CSphEditor* editor = Open(CSphEditor::kEditorMain);
  editor->SetMainScheme(true);
  HWND main = form_->GetHandle();
  DialogAnswerer answer(IDCANCEL);
  SendMessageW(editor->GetHandle(), WM_CLOSE, 0, 0);
  velktest::FlushEvents();
  EXPECT_EQ(0, answer.Count());
  EXPECT_FALSE(IsWindow(main));
  EXPECT_TRUE(velktest::DropQuitRequests());
}

TEST_F(SphEditorTest, ScreenshotOfAnOpenedDocument) {
  velktest::TempFolder folder;
  std::wstring path = folder.File(L"sample robot.vlkx");
  WriteSample(path);
  form_ = MakeMainForm();
  form_->Show(false);
  form_->OpenCommandLineFiles((L"\"" + path + L"\"").c_str());
  CSphEditor* editor = OnlyEditor();
  ASSERT_NE(nullptr, editor);
  ShowWindow(editor->GetHandle(), SW_MAXIMIZE);
  velktest::FlushEvents();
  RedrawWindow(form_->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  velktest::FlushEvents();

  std::wstring shots = velktest::ScreenshotFolder();
  EXPECT_TRUE(velktest::SaveWindowBitmap(form_->GetHandle(), shots + L"scheme_editor_document.bmp"));
  // The document beside its picture, for showing it in the program itself.
  EXPECT_TRUE(CopyFileW(path.c_str(), (shots + L"sample_robot.vlkx").c_str(), FALSE));
  EXPECT_EQ(5, editor->GetSchemeView()->GetScheme()->BlockCount());
  // The maximised child adds its own caption after the document's.
  EXPECT_EQ(0u, WindowTextOf(form_->GetHandle()).find(L"Редактор схем и подключений - sample robot.vlkx"));
}

}  // namespace
