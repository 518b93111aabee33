// The main window: caption, menus, accelerators, the Edit and File popups,
// command forwarding, the close prompt, help and the about box.
#include <richedit.h>

#include <map>
#include <string>
#include <vector>

#include "app/shell/about_box.h"
#include "app/shell/main_form.h"
#include "app/resource.h"
#include "app/shell/startup.h"
#include "app/app_fixture.h"
#include "kestui/core/kest_control.h"
#include "kestui/core/kest_messages.h"
#include "kestui/forms/kest_mdi_child_form.h"
#include "support/test_support.h"

namespace {

using apptest::WindowTextOf;

class MainFormTest : public apptest::WindowsTest {};

const wchar_t kCaption[] = L"Редактор схем и подключений";

// An MDI child that answers the edit queries as told and records the
// commands it receives.
class ProbeChild : public CKestMDIChildForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    auto answer = answers.find(message);
    if (answer != answers.end()) return answer->second;
    if (message == WM_COMMAND) {
      commands.push_back(LOWORD(wParam));
      highWords.push_back(HIWORD(wParam));
      return 0;
    }
    return CKestMDIChildForm::WindowProc(message, wParam, lParam);
  }
  std::map<UINT, LRESULT> answers;
  std::vector<UINT> commands;
  std::vector<UINT> highWords;
};

ProbeChild* MakeChild(CMainForm* form) {
  ProbeChild* child = new ProbeChild;
  EXPECT_TRUE(child->Create(form, L"Схема", true, true, KEST_POS_FLOW, 300, 200));
  return child;
}

bool IsGreyed(HMENU menu, int position) {
  return (GetMenuState(menu, position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) != 0;
}

void EnableAll(HMENU menu) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) EnableMenuItem(menu, i, MF_BYPOSITION | MF_ENABLED);
}

TEST_F(MainFormTest, CaptionMenuBarAndFrame) {
  CMainForm* form = MakeMainForm();
  HWND window = form->GetHandle();
  EXPECT_EQ(kCaption, WindowTextOf(window));
  EXPECT_EQ(form, MainKestForm);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(800, r.right - r.left);
  EXPECT_EQ(500, r.bottom - r.top);
  ASSERT_NE(nullptr, form->GetMDIClient());

  HMENU bar = GetMenu(window);
  ASSERT_NE(nullptr, bar);
  const wchar_t* tops[] = {L"&Файл", L"&Правка", L"&Окна", L"&?"};
  ASSERT_EQ(4, GetMenuItemCount(bar));
  for (int i = 0; i < 4; ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(bar, i, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(tops[i], text);
  }
  EXPECT_EQ(GetSubMenu(bar, 0), form->GetFileMenu());
  EXPECT_EQ(GetSubMenu(bar, 1), form->GetEditMenu());
  EXPECT_EQ(GetSubMenu(bar, 2), form->GetWindowMenu());
}

TEST_F(MainFormTest, MenuItemsTextsIdsAndSeparators) {
  struct Item {
    int menu;
    const wchar_t* text;  // null: separator
    int id;
  };
  const Item items[] = {
      {0, L"&Открыть\tCtrl+O", 40005},
      {0, L"&Сохранить\tCtrl+S", 40006},
      {0, nullptr, 0},
      {0, L"Экспорт...", 40031},
      {0, L"Печать...", 40035},
      {0, nullptr, 0},
      {0, L"&Выход", 40004},
      {1, L"&Копировать\tCtrl+C", 40026},
      {1, L"&Вырезать\tCtrl+X", 40027},
      {1, L"&Вставить\tCtrl+V", 40028},
      {1, L"&Удалить\tDel", 40029},
      {1, nullptr, 0},
      {1, L"Копировать как картинку", 40033},
      {1, nullptr, 0},
      {1, L"Выделить в&се\tCtrl+A", 40025},
      {2, L"Мозаика", 40009},
      {2, L"Каскад", 40010},
      {3, L"О программе...", 40039},
      {3, nullptr, 0},
      {3, L"Справка\tF1", 40038},
  };
  CMainForm* form = MakeMainForm();
  HMENU bar = GetMenu(form->GetHandle());
  int counts[4] = {};
  for (const Item& item : items) {
    HMENU menu = GetSubMenu(bar, item.menu);
    int position = counts[item.menu]++;
    SCOPED_TRACE(testing::Message() << "menu " << item.menu << " position " << position);
    UINT state = GetMenuState(menu, position, MF_BYPOSITION);
    if (!item.text) {
      EXPECT_TRUE(state & MF_SEPARATOR);
      continue;
    }
    EXPECT_FALSE(state & MF_SEPARATOR);
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(item.text, text);
    EXPECT_EQ(static_cast<UINT>(item.id), GetMenuItemID(menu, position));
  }
  for (int i = 0; i < 4; ++i) EXPECT_EQ(counts[i], GetMenuItemCount(GetSubMenu(bar, i)));
}

TEST_F(MainFormTest, AcceleratorTable) {
  CMainForm* form = MakeMainForm();
  ASSERT_NE(nullptr, form->GetAccelerators());
  ACCEL table[8] = {};
  int n = CopyAcceleratorTableW(form->GetAccelerators(), table, 8);
  ASSERT_EQ(3, n);
  struct Expected {
    BYTE flags;
    WORD key;
    WORD command;
  } expected[] = {{FVIRTKEY | FCONTROL, 'O', 40005}, {FVIRTKEY | FCONTROL, 'S', 40006}, {FVIRTKEY, VK_F1, 40038}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(expected[i].flags, table[i].fVirt & ~0x80) << i;  // 0x80 marks the last entry
    EXPECT_EQ(expected[i].key, table[i].key) << i;
    EXPECT_EQ(expected[i].command, table[i].cmd) << i;
  }
}

// The help viewer as seen by the main window.
struct HelpCall {
  HWND window;
  std::wstring file;
  UINT command;
};
std::vector<HelpCall> g_helpCalls;
HWND WINAPI FakeHtmlHelp(HWND window, LPCWSTR file, UINT command, DWORD_PTR) {
  g_helpCalls.push_back({window, file ? file : L"", command});
  return nullptr;
}

TEST_F(MainFormTest, F1ShowsTheHelpFile) {
  velktest::TempFolder folder;
  ProgramFolders saved = AppFolders();
  ProgramFolders folders = ComputeProgramFolders((folder.Path() + L"Velkboard.exe").c_str());
  SetAppFolders(folders);
  ASSERT_TRUE(folder.WriteFile(L"Torvalk5.chm", std::string("ITSF")));
  g_helpCalls.clear();
  host_.help = FakeHtmlHelp;

  CMainForm* form = MakeMainForm();
  MSG msg = {form->GetHandle(), WM_KEYDOWN, VK_F1, 0x003B0001, 0, {0, 0}};
  EXPECT_TRUE(TranslateAcceleratorW(form->GetHandle(), form->GetAccelerators(), &msg));
  ASSERT_EQ(1u, g_helpCalls.size());
  EXPECT_EQ(form->GetHandle(), g_helpCalls[0].window);
  EXPECT_EQ(folder.Path() + L"Torvalk5.chm", g_helpCalls[0].file);
  EXPECT_EQ(0u, g_helpCalls[0].command);  // HH_DISPLAY_TOPIC

  // Without the file the user is told, and the viewer is not called.
  DeleteFileW(folders.helpFile.c_str());
  {
    velktest::DialogAnswerer answer(IDOK);
    SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_HELP_CONTENTS, 0), 0);
    ASSERT_EQ(1, answer.Count());
    EXPECT_EQ(L"Ошибка", answer.Captions()[0]);
    EXPECT_NE(std::wstring::npos, answer.Texts()[0].find(L"Torvalk5.chm"));
  }
  EXPECT_EQ(1u, g_helpCalls.size());

  // With the file but without a help viewer the user is told so.
  ASSERT_TRUE(folder.WriteFile(L"Torvalk5.chm", std::string("ITSF")));
  host_.help = nullptr;
  {
    velktest::DialogAnswerer answer(IDOK);
    SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_HELP_CONTENTS, 0), 0);
    ASSERT_EQ(1, answer.Count());
    EXPECT_EQ(L"Не удалось открыть справку: не найден компонент HTML Help (hhctrl.ocx)", answer.Texts()[0]);
  }
  EXPECT_EQ(1u, g_helpCalls.size());
  SetAppFolders(saved);
}

TEST_F(MainFormTest, UpdateTitle) {
  const std::wstring name40 = L"Схема_робота_с_очень_длинным_именем.vlkx";
  ASSERT_EQ(40u, name40.size());
  const std::wstring name41 = L"Схема_робота_с_очень_длинным_именем1.vlkx";
  ASSERT_EQ(41u, name41.size());
  struct Case {
    std::wstring path;
    std::wstring shown;
  } cases[] = {
      {L"C:\\Схемы\\robot.vlkx", L"robot.vlkx"},
      {L"C:/Схемы/robot.vlkx", L"robot.vlkx"},
      {L"robot.vlkx", L"robot.vlkx"},
      {L"C:\\Схемы\\" + name40, name40},
      {L"C:\\Схемы\\" + name41, name41.substr(0, 40) + L"..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.shown.size());
    CMainForm* form = MakeMainForm();
    form->SetFileName(c.path.c_str());
    form->UpdateTitle();
    std::wstring expected = std::wstring(kCaption) + L" - " + c.shown;
    EXPECT_EQ(expected, WindowTextOf(form->GetHandle()));
    // The views report a change: the flag is set and " *" appears.
    SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
    EXPECT_TRUE(form->IsModified());
    EXPECT_EQ(expected + L" *", WindowTextOf(form->GetHandle()));
    DestroyWindow(form->GetHandle());
    velktest::FlushEvents();
  }
}

TEST_F(MainFormTest, UpdateTitleWithoutFileName) {
  CMainForm* form = MakeMainForm();
  form->UpdateTitle();
  EXPECT_EQ(kCaption, WindowTextOf(form->GetHandle()));
  SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
  EXPECT_EQ(std::wstring(kCaption) + L" *", WindowTextOf(form->GetHandle()));
}

TEST_F(MainFormTest, PopupsAreGreyedWithoutAnActiveChild) {
  CMainForm* form = MakeMainForm();
  HMENU edit = form->GetEditMenu();
  HMENU file = form->GetFileMenu();
  EnableAll(edit);
  EnableAll(file);
  SendMessageW(form->GetHandle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  SendMessageW(form->GetHandle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  for (int position : {0, 1, 2, 3, 5, 7}) EXPECT_TRUE(IsGreyed(edit, position)) << position;
  for (int position : {4, 6}) EXPECT_TRUE(GetMenuState(edit, position, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(IsGreyed(file, 4));  // "Печать..."
  for (int position : {0, 1, 3, 6}) EXPECT_FALSE(IsGreyed(file, position)) << position;

  // The commands for the child do nothing without one.
  for (UINT id : {40026u, 40027u, 40028u, 40029u, 40025u, 40031u, 40033u, 40035u}) {
    EXPECT_EQ(0, SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(id, 0), 0));
  }
  EXPECT_TRUE(IsWindow(form->GetHandle()));
}

TEST_F(MainFormTest, EditPopupFollowsTheActiveChild) {
  CMainForm* form = MakeMainForm();
  ProbeChild* child = MakeChild(form);
  ASSERT_EQ(child, form->GetActiveMDIChild());
  HMENU edit = form->GetEditMenu();
  HMENU file = form->GetFileMenu();
  struct Case {
    LRESULT copy, cut, paste, del, picture, selectAll;
  } cases[] = {{1, 0, 1, 0, 1, 0}, {0, 1, 0, 1, 0, 1}};
  for (const Case& c : cases) {
    child->answers = {{WM_KEST_CANCOPY, c.copy},         {WM_KEST_CANCUT, c.cut},
                      {EM_CANPASTE, c.paste},            {WM_KEST_CANDELETE, c.del},
                      {WM_CAN_COPY_PICTURE, c.picture}, {WM_KEST_CANSELECTALL, c.selectAll}};
    SendMessageW(form->GetHandle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
    SendMessageW(form->GetHandle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    EXPECT_EQ(!c.copy, IsGreyed(edit, 0));
    EXPECT_EQ(!c.cut, IsGreyed(edit, 1));
    EXPECT_EQ(!c.paste, IsGreyed(edit, 2));
    EXPECT_EQ(!c.del, IsGreyed(edit, 3));
    EXPECT_EQ(!c.picture, IsGreyed(edit, 5));
    EXPECT_EQ(!c.selectAll, IsGreyed(edit, 7));
    EXPECT_EQ(!c.picture, IsGreyed(file, 4));
    EXPECT_FALSE(IsGreyed(file, 0));
  }
}

TEST_F(MainFormTest, CommandsAreForwardedToTheActiveChild) {
  CMainForm* form = MakeMainForm();
  ProbeChild* child = MakeChild(form);
  const UINT menuIds[] = {40026, 40027, 40028, 40029, 40025, 40031, 40033, 40035};
  const UINT childIds[] = {769, 768, 770, 771, 2137, 40031, 40033, 40035};
  for (UINT id : menuIds) SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  // From an accelerator (high word 1) too.
  SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(40026, 1), 0);
  // A control's notification (high word above 1) is not a menu command.
  SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(40026, 2), 0);
  ASSERT_EQ(9u, child->commands.size());
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(childIds[i], child->commands[i]) << i;
  EXPECT_EQ(769u, child->commands[8]);
  for (UINT high : child->highWords) EXPECT_EQ(0u, high);
}

TEST_F(MainFormTest, TileAndCascadeArrangeTheChildren) {
  CMainForm* form = MakeMainForm();
  form->Show(false);
  ProbeChild* a = MakeChild(form);
  ProbeChild* b = MakeChild(form);
  SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_WINDOW_TILE, 0), 0);
  RECT client;
  GetClientRect(form->GetMDIClient(), &client);
  RECT ra, rb;
  GetWindowRect(a->GetHandle(), &ra);
  GetWindowRect(b->GetHandle(), &rb);
  // Tiled: side by side or one above the other, together filling the client.
  EXPECT_EQ(client.right - client.left, std::max(ra.right, rb.right) - std::min(ra.left, rb.left));
  EXPECT_EQ(client.bottom - client.top, std::max(ra.bottom, rb.bottom) - std::min(ra.top, rb.top));
  SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_WINDOW_CASCADE, 0), 0);
  GetWindowRect(a->GetHandle(), &ra);
  GetWindowRect(b->GetHandle(), &rb);
  // Cascaded: the windows overlap, one offset down and right of the other.
  EXPECT_NE(ra.left, rb.left);
  EXPECT_NE(ra.top, rb.top);
  RECT overlap;
  EXPECT_TRUE(IntersectRect(&overlap, &ra, &rb));
}

// ---------------------------------------------------------------------------
// The close prompt.

bool PumpUntilGone(HWND window) {
  return velktest::PumpUntil([window] { return !IsWindow(window); });
}

TEST_F(MainFormTest, ClosingUnmodifiedAsksNothing) {
  CMainForm* form = MakeMainForm();
  HWND window = form->GetHandle();
  velktest::DialogAnswerer answer(IDCANCEL);
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntilGone(window));
  EXPECT_EQ(0, answer.Count());
}

TEST_F(MainFormTest, ClosePromptCancelKeepsTheWindow) {
  CMainForm* form = MakeMainForm();
  HWND window = form->GetHandle();
  SendMessageW(window, WM_SCHEME_MODIFIED, 0, 0);
  velktest::DialogAnswerer answer(IDCANCEL);
  EXPECT_EQ(0, SendMessageW(window, WM_CLOSE, 0, 0));
  velktest::FlushEvents();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(form->IsModified());
  ASSERT_EQ(1, answer.Count());
  EXPECT_EQ(L"Закрытие", answer.Captions()[0]);
  EXPECT_EQ(L"Схема не сохранена. Сохранить?", answer.Texts()[0]);
}

TEST_F(MainFormTest, ClosePromptNoClosesWithoutSaving) {
  velktest::TempFolder folder;
  CMainForm* form = MakeMainForm();
  HWND window = form->GetHandle();
  std::wstring path = folder.File(L"Робот.vlkx");
  form->SetFileName(path.c_str());
  SendMessageW(window, WM_SCHEME_MODIFIED, 0, 0);
  velktest::DialogAnswerer answer(IDNO);
  // Exit goes through the same prompt.
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_FILE_EXIT, 0), 0);
  EXPECT_TRUE(PumpUntilGone(window));
  EXPECT_EQ(1, answer.Count());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
  // The main form's destructor ended the application loop.
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainFormTest, ClosePromptYesSavesThenCloses) {
  velktest::TempFolder folder;
  ASSERT_TRUE(folder.WriteFile(L"Робот.vlkx", std::string("old")));
  CMainForm* form = MakeMainForm();
  HWND window = form->GetHandle();
  std::wstring path = folder.File(L"Робот.vlkx");
  form->SetFileName(path.c_str());
  SendMessageW(window, WM_SCHEME_MODIFIED, 0, 0);
  velktest::DialogAnswerer answer(IDYES);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntilGone(window));
  ASSERT_EQ(1, answer.Count());
  // The scheme went to the file, the old file to the backup.
  std::vector<uint8_t> saved = folder.ReadFile(L"Робот.vlkx");
  ASSERT_GE(saved.size(), 4u);
  EXPECT_EQ("SPH1", std::string(saved.begin(), saved.begin() + 4));
  std::vector<uint8_t> backup = folder.ReadFile(L"Робот.~vlkx");
  EXPECT_EQ("old", std::string(backup.begin(), backup.end()));
}

TEST_F(MainFormTest, ClosePromptAsksAgainAfterAFailedSave) {
  // No document: the save reports it and the question comes again.
  CMainForm* form = MakeMainForm();
  HWND window = form->GetHandle();
  SendMessageW(window, WM_SCHEME_MODIFIED, 0, 0);
  velktest::DialogAnswerer answer({IDYES, IDOK, IDNO});
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntilGone(window));
  ASSERT_EQ(3, answer.Count());
  EXPECT_EQ(L"Закрытие", answer.Captions()[0]);
  EXPECT_EQ(L"Ошибка", answer.Captions()[1]);
  EXPECT_EQ(L"Необходимо загрузить проект!", answer.Texts()[1]);
  EXPECT_EQ(L"Закрытие", answer.Captions()[2]);
}

TEST_F(MainFormTest, SaveCommandWritesTheDocument) {
  velktest::TempFolder folder;
  CMainForm* form = MakeMainForm();
  HWND window = form->GetHandle();
  std::wstring path = folder.File(L"new.vlkx");
  form->SetFileName(path.c_str());
  SendMessageW(window, WM_SCHEME_MODIFIED, 0, 0);
  // A new file: no backup is made and nothing is asked.
  velktest::DialogAnswerer answer(IDCANCEL);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_FILE_SAVE, 1), 0);
  EXPECT_EQ(0, answer.Count());
  EXPECT_FALSE(form->IsModified());
  EXPECT_EQ(std::wstring(kCaption) + L" - new.vlkx", WindowTextOf(window));
  std::vector<uint8_t> saved = folder.ReadFile(L"new.vlkx");
  ASSERT_GE(saved.size(), 4u);
  EXPECT_EQ("SPH1", std::string(saved.begin(), saved.begin() + 4));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.File(L"new.~vlkx").c_str()));
}

// ---------------------------------------------------------------------------
// The about box.

struct ShellCall {
  std::wstring file;
};
std::vector<ShellCall> g_shellCalls;
HINSTANCE WINAPI FakeShellExecute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
  g_shellCalls.push_back({file ? file : L""});
  return reinterpret_cast<HINSTANCE>(42);
}

// What the probe saw while the about box was open.
struct AboutSeen {
  bool found = false;
  bool ownerIsMain = false;
  bool mainDisabled = false;
  std::vector<std::wstring> texts;
  std::map<std::wstring, RECT> rects;  // by text, in client coordinates
  std::map<int, std::wstring> links;   // by window id
  std::map<int, COLORREF> linkColors;
  std::map<int, int> linkCursors;
  COLORREF iconPixel = CLR_INVALID;
  COLORREF backPixel = CLR_INVALID;
  int clientWidth = 0;
};
AboutSeen g_seen;
HWND g_mainWindow = nullptr;

BOOL CALLBACK CollectChild(HWND child, LPARAM about) {
  std::wstring text = WindowTextOf(child);
  g_seen.texts.push_back(text);
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, reinterpret_cast<HWND>(about), reinterpret_cast<POINT*>(&r), 2);
  g_seen.rects[text] = r;
  int id = GetWindowLongW(child, GWL_ID);
  if (id == kVelkAboutMakersLinkId || id == kVelkAboutSiteLinkId) {
    g_seen.links[id] = text;
    if (CKestControl* control = GetControlFromHandle(child)) {
      g_seen.linkColors[id] = control->GetTextColor();
      g_seen.linkCursors[id] = control->GetCursorIndex();
    }
  }
  return TRUE;
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
  HWND about = FindWindowW(KestMainClassName, L"О программе...");
  g_seen.found = about != nullptr;
  if (!about) return 0;
  g_seen.ownerIsMain = GetWindow(about, GW_OWNER) == g_mainWindow;
  g_seen.mainDisabled = !IsWindowEnabled(g_mainWindow);
  EnumChildWindows(about, CollectChild, reinterpret_cast<LPARAM>(about));
  RECT client;
  GetClientRect(about, &client);
  g_seen.clientWidth = client.right;
  UpdateWindow(about);
  HDC dc = GetDC(about);
  g_seen.iconPixel = GetPixel(dc, 10 + 16, 10 + 16);  // the chip in the middle of the icon
  g_seen.backPixel = GetPixel(dc, 60, 100);
  ReleaseDC(about, dc);
  // Follow both links, then press OK.
  HWND site = nullptr, makers = nullptr;
  for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (GetWindowLongW(c, GWL_ID) == kVelkAboutSiteLinkId) site = c;
    if (GetWindowLongW(c, GWL_ID) == kVelkAboutMakersLinkId) makers = c;
  }
  if (makers) GetControlFromHandle(makers)->Click();
  if (site) GetControlFromHandle(site)->Click();
  HWND ok = FindWindowExW(about, nullptr, L"BUTTON", L"OK");
  if (ok) PostMessageW(ok, BM_CLICK, 0, 0);
  return 0;
}

TEST_F(MainFormTest, AboutBoxOpensModally) {
  g_seen = AboutSeen();
  g_shellCalls.clear();
  host_.start = FakeShellExecute;
  LoadApplicationIcon(GetModuleHandleW(nullptr));
  CMainForm* form = MakeMainForm();
  form->Show(false);
  g_mainWindow = form->GetHandle();

  WNDCLASSW wc = {};
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VelkAboutProbe";
  RegisterClassW(&wc);
  HWND probe = CreateWindowW(L"VelkAboutProbe", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, probe);
  // The probe runs inside the about box's modal loop.
  PostMessageW(probe, WM_APP, 0, 0);
  SendMessageW(g_mainWindow, WM_COMMAND, MAKEWPARAM(ID_HELP_ABOUT, 0), 0);
  // Back from the modal loop: the main window works again.
  EXPECT_TRUE(IsWindowEnabled(g_mainWindow));
  velktest::FlushEvents();
  EXPECT_EQ(nullptr, FindWindowW(KestMainClassName, L"О программе..."));
  DestroyWindow(probe);

  ASSERT_TRUE(g_seen.found);
  EXPECT_TRUE(g_seen.ownerIsMain);
  EXPECT_TRUE(g_seen.mainDisabled);
  RECT name = g_seen.rects[L"Velkboard"];
  EXPECT_EQ(100, name.left);
  EXPECT_EQ(10, name.top);
  EXPECT_EQ(290, name.right - name.left);
  EXPECT_EQ(50, name.bottom - name.top);
  RECT version = g_seen.rects[L"Версия: 5, 0, 0, 208"];
  EXPECT_EQ(190, version.left);
  EXPECT_EQ(50, version.top);
  RECT line = g_seen.rects[L"Редактор схем и подключений программного комплекса Torvalk 5"];
  // The flow cursor is the top of a row; its cells sit one gap (8) below.
  EXPECT_EQ(80 + 8, line.top);
  EXPECT_EQ(370, line.right - line.left);
  ASSERT_EQ(1u, g_seen.rects.count(L"OK"));
  RECT ok = g_seen.rects[L"OK"];
  EXPECT_EQ(200 + 8, ok.top);
  EXPECT_EQ(80, ok.right - ok.left);
  EXPECT_EQ(25, ok.bottom - ok.top);
  // Centred between the client edges.
  EXPECT_NEAR(g_seen.clientWidth - ok.right, ok.left, 1);
  EXPECT_EQ(kVelkAboutSiteLinkTarget, g_seen.links[kVelkAboutSiteLinkId]);
  EXPECT_EQ(1u, g_seen.links.count(kVelkAboutMakersLinkId));
  for (int id : {kVelkAboutMakersLinkId, kVelkAboutSiteLinkId}) {
    EXPECT_EQ(0xFF0000u, g_seen.linkColors[id]);
    EXPECT_EQ(13, g_seen.linkCursors[id]);
  }
  // The icon is drawn at (10, 10).
  EXPECT_NE(g_seen.backPixel, g_seen.iconPixel);
  // The links open their pages.
  ASSERT_EQ(2u, g_shellCalls.size());
  EXPECT_EQ(kVelkAboutMakersLinkTarget, g_shellCalls[0].file);
  EXPECT_EQ(kVelkAboutSiteLinkTarget, g_shellCalls[1].file);
}

}  // namespace
