// Forms: the close protocol, the modal loop, the main loop and MDI frames.
#include <cwchar>
#include <string>

#include "kestui/forms_test_util.h"
#include "kestui/kest_test_widgets.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_edit.h"
#include "foundation/buffers.h"

namespace {

using formtest::Box;
using velktest::DropQuitRequests;
using formtest::Form;
using formtest::FormsTest;
using formtest::MakeForm;
using formtest::MDIChild;
using formtest::Panel;
using formtest::RectIn;
using formtest::StdControl;
using formtest::Describe;

constexpr UINT WM_TEST_STEP = WM_APP + 1;
constexpr UINT WM_TEST_STEP2 = WM_APP + 2;

class FormTest : public FormsTest {};

Form* MakeDialog(CKestControl* owner, const wchar_t* caption = L"Диалог") {
  Form* dialog = new Form;
  dialog->Create(owner, caption, KEST_POS_CENTER, 320, 160, nullptr, false, false, true, true);
  return dialog;
}

std::wstring TextOf(CKestControl* control) {
  wchar_t* text = control->GetTextCopy();
  std::wstring result = text ? text : L"";
  FreeBuffer(text);
  return result;
}

TEST_F(FormTest, ShowModalResults) {
  struct Case {
    const char* name;
    void (*close)(Form* dialog, HWND edit);
    int expected;
  };
  const Case cases[] = {
      {"WM_CLOSE (5)",
       [](Form* d, HWND) { PostMessageW(d->GetHandle(), WM_CLOSE, 5, 0); }, 5},
      {"close box", [](Form* d, HWND) { PostMessageW(d->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); },
       0},
      {"Esc in an edit", [](Form*, HWND edit) { PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1); }, 2},
      {"PostClose (1)", [](Form* d, HWND) { d->PostClose(1); }, 1},
  };
  Form* main = MakeForm(50, 50, 500, 400, nullptr, true);
  main->Show(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int deleted = 0;
    Form* dialog = MakeDialog(main);
    dialog->deleted = &deleted;
    StdControl* edit = new StdControl(dialog, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL,
                                      KEST_POS_FLOW, 200, 21, 0, WS_EX_CLIENTEDGE);
    c.close(dialog, edit->GetHandle());
    EXPECT_EQ(c.expected, dialog->ShowModal(false));
    // The destruction is still queued: the dialog is there to be read.
    EXPECT_EQ(0, deleted);
    EXPECT_TRUE(IsWindow(dialog->GetHandle()));
    velktest::FlushEvents();
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(1, LiveForms.count);
  }
}

TEST_F(FormTest, OtherFormsAreDisabledDuringTheModalLoopAndRestoredAfter) {
  Form* main = MakeForm(50, 50, 500, 400, nullptr, true);
  Form* tool = MakeForm(600, 50, 200, 200, nullptr, true);
  Form* disabled = MakeForm(600, 300, 200, 200, nullptr, true);
  main->Show(false);
  tool->Show(false);
  disabled->Show(false);
  EnableWindow(disabled->GetHandle(), FALSE);
  StdControl* mainEdit =
      new StdControl(main, L"EDIT", L"", WS_TABSTOP, KestPos(10, 10), 100, 21, 0, WS_EX_CLIENTEDGE);
  mainEdit->SetFocus();
  ASSERT_EQ(mainEdit->GetHandle(), GetFocus());

  struct Seen {
    bool main = true, tool = true, disabled = true, self = false;
    bool firstDuringSecond = true, firstAfterSecond = false;
    int secondResult = -1;
  } seen;
  Form* dialog = MakeDialog(main);
  dialog->handler = [&](Form* self, UINT message, WPARAM, LPARAM) {
    if (message != WM_TEST_STEP) return false;
    seen.main = IsWindowEnabled(main->GetHandle()) != FALSE;
    seen.tool = IsWindowEnabled(tool->GetHandle()) != FALSE;
    seen.disabled = IsWindowEnabled(disabled->GetHandle()) != FALSE;
    seen.self = IsWindowEnabled(self->GetHandle()) != FALSE;
    // A second dialog from inside the first disables the first too.
    Form* second = MakeDialog(self, L"Второй диалог");
    HWND first = self->GetHandle();
    second->handler = [&seen, first](Form* inner, UINT m, WPARAM, LPARAM) {
      if (m != WM_TEST_STEP2) return false;
      seen.firstDuringSecond = IsWindowEnabled(first) != FALSE;
      inner->PostClose(1);
      return true;
    };
    PostMessageW(second->GetHandle(), WM_TEST_STEP2, 0, 0);
    seen.secondResult = second->ShowModal(false);
    seen.firstAfterSecond = IsWindowEnabled(first) != FALSE;
    self->PostClose(1);
    return true;
  };
  PostMessageW(dialog->GetHandle(), WM_TEST_STEP, 0, 0);
  EXPECT_EQ(1, dialog->ShowModal(false));
  EXPECT_FALSE(seen.main);
  EXPECT_FALSE(seen.tool);
  EXPECT_FALSE(seen.disabled);
  EXPECT_TRUE(seen.self);
  EXPECT_EQ(1, seen.secondResult);
  EXPECT_FALSE(seen.firstDuringSecond);
  EXPECT_TRUE(seen.firstAfterSecond);

  EXPECT_TRUE(IsWindowEnabled(main->GetHandle()));
  EXPECT_TRUE(IsWindowEnabled(tool->GetHandle()));
  EXPECT_FALSE(IsWindowEnabled(disabled->GetHandle()));  // stays as it was
  EXPECT_EQ(main->GetHandle(), GetActiveWindow());
  EXPECT_EQ(mainEdit->GetHandle(), GetFocus());
}

TEST_F(FormTest, WidgetsAreReadableAfterShowModalAndTheDialogCanBeDeletedAtOnce) {
  Form* main = MakeForm(50, 50, 500, 400, nullptr, true);
  main->Show(false);
  int deleted = 0;
  Form* dialog = MakeDialog(main);
  dialog->deleted = &deleted;
  StdControl* edit = new StdControl(dialog, L"EDIT", L"", WS_TABSTOP, KEST_POS_FLOW, 200, 21);
  dialog->handler = [edit](Form* self, UINT message, WPARAM, LPARAM) {
    if (message != WM_TEST_STEP) return false;
    edit->SetText(L"Введённый текст");
    self->PostClose(1);
    return true;
  };
  PostMessageW(dialog->GetHandle(), WM_TEST_STEP, 0, 0);
  ASSERT_EQ(1, dialog->ShowModal(false));
  EXPECT_EQ(L"Введённый текст", TextOf(edit));
  HWND window = dialog->GetHandle();
  delete dialog;
  EXPECT_EQ(1, deleted);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(-1, FindLiveForm(dialog));
  velktest::FlushEvents();  // the queued destruction finds nothing
  EXPECT_EQ(1, deleted);
  EXPECT_EQ(1, LiveForms.count);
  EXPECT_TRUE(IsWindow(main->GetHandle()));
}

TEST_F(FormTest, MainFormIsTheFirstCreatedAndItsEndPostsQuit) {
  Form* early = new Form;  // constructed first, created later
  Form* first = MakeForm(50, 50, 200, 200);
  EXPECT_EQ(first, MainKestForm);
  early->Create(nullptr, L"Поздняя", KestPos(300, 50), 200, 200, nullptr, false, false, false,
                false);
  EXPECT_EQ(first, MainKestForm);
  EXPECT_NE(0u, HintTimerId);  // started by the first Create
  DropQuitRequests();
  delete early;
  EXPECT_FALSE(DropQuitRequests());
  DestroyWindow(first->GetHandle());
  EXPECT_EQ(nullptr, MainKestForm);
  EXPECT_TRUE(DropQuitRequests());
}

TEST_F(FormTest, RunAppliesAcceleratorsAndEndsWhenTheMainFormGoes) {
  Form* main = MakeForm(50, 50, 300, 200, nullptr, true);
  ACCEL accel = {FVIRTKEY, VK_F5, 100};
  main->SetAccelerators(CreateAcceleratorTableW(&accel, 1));
  int commands = 0;
  int deleted = 0;
  main->deleted = &deleted;
  main->handler = [&commands](Form* self, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == 100) {
      ++commands;
      self->PostClose(0);
      return true;
    }
    return false;
  };
  PostMessageW(main->GetHandle(), WM_KEYDOWN, VK_F5, 1);
  EXPECT_EQ(0, main->Run());
  EXPECT_EQ(1, commands);
  EXPECT_EQ(1, deleted);
  EXPECT_EQ(0u, HintTimerId);
}

TEST_F(FormTest, QuitDuringADialogEndsTheDialogAndRun) {
  Form* main = MakeForm(50, 50, 300, 200, nullptr, true);
  int dialogResult = -1;
  main->handler = [&dialogResult](Form* self, UINT message, WPARAM, LPARAM) {
    if (message != WM_TEST_STEP) return false;
    Form* dialog = MakeDialog(self);
    dialog->handler = [](Form*, UINT m, WPARAM, LPARAM) {
      if (m != WM_TEST_STEP2) return false;
      PostQuitMessage(3);
      return true;
    };
    PostMessageW(dialog->GetHandle(), WM_TEST_STEP2, 0, 0);
    dialogResult = dialog->ShowModal(false);
    return true;
  };
  PostMessageW(main->GetHandle(), WM_TEST_STEP, 0, 0);
  EXPECT_EQ(3, main->Run());
  EXPECT_EQ(2, dialogResult);
  EXPECT_TRUE(IsWindow(main->GetHandle()));
}

// Closing the main form while a dialog runs: the dialog is opened from a
// timer callback, so nothing of the main form runs after it is gone.
struct ClosingState {
  HWND main = nullptr;
  bool ownedByMain = false;
  int result = -1;
  int dialogDeleted = 0;
  bool dialogWindowLeft = false;
};
ClosingState closing;

void CALLBACK OpenDialogThenCloseMain(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  CKestControl* owner = closing.ownedByMain ? GetControlFromHandle(closing.main) : nullptr;
  Form* dialog = MakeDialog(owner);
  dialog->deleted = &closing.dialogDeleted;
  HWND window = dialog->GetHandle();
  dialog->handler = [](Form*, UINT m, WPARAM, LPARAM) {
    if (m != WM_TEST_STEP2) return false;
    PostMessageW(closing.main, WM_CLOSE, 1, 0);
    return true;
  };
  PostMessageW(window, WM_TEST_STEP2, 0, 0);
  closing.result = dialog->ShowModal(false);
  closing.dialogWindowLeft = IsWindow(window) != FALSE;
}

TEST_F(FormTest, ClosingTheMainFormDuringADialogEndsRun) {
  for (bool owned : {false, true}) {
    SCOPED_TRACE(owned ? "dialog owned by the main form" : "dialog without owner");
    closing = ClosingState();
    closing.ownedByMain = owned;
    Form* main = MakeForm(50, 50, 300, 200, nullptr, true);
    int mainDeleted = 0;
    main->deleted = &mainDeleted;
    closing.main = main->GetHandle();
    ASSERT_NE(0u, SetTimer(nullptr, 0, 1, OpenDialogThenCloseMain));
    EXPECT_EQ(0, main->Run());
    EXPECT_EQ(1, mainDeleted);
    EXPECT_EQ(2, closing.result);
    // An owned dialog goes with its owner; a free one is left to its caller.
    EXPECT_EQ(owned ? 1 : 0, closing.dialogDeleted);
    EXPECT_EQ(!owned, closing.dialogWindowLeft);
    ClearAll();
  }
}

TEST_F(FormTest, DialogDestroyedWithItsOwnerEndsItsLoop) {
  Form* main = MakeForm(50, 50, 300, 200, nullptr, true);
  Form* tool = MakeForm(400, 50, 300, 200, nullptr, true);
  main->Show(false);
  tool->Show(false);
  int deleted = 0;
  Form* dialog = MakeDialog(tool);
  dialog->deleted = &deleted;
  HWND toolWindow = tool->GetHandle();
  dialog->handler = [toolWindow](Form*, UINT message, WPARAM, LPARAM) {
    if (message != WM_TEST_STEP) return false;
    PostMessageW(toolWindow, WM_CLOSE, 0, 0);
    return true;
  };
  PostMessageW(dialog->GetHandle(), WM_TEST_STEP, 0, 0);
  // No result ever comes and no quit is posted: the loop ends by itself.
  EXPECT_EQ(2, dialog->ShowModal(false));
  EXPECT_EQ(1, deleted);
  EXPECT_FALSE(IsWindow(toolWindow));
  EXPECT_TRUE(IsWindowEnabled(main->GetHandle()));
  EXPECT_FALSE(DropQuitRequests());
}

TEST_F(FormTest, PaintingGivesTheFormItsPaintDC) {
  Form* form = MakeForm(50, 50, 200, 100, nullptr, true);
  form->Show(false);
  velktest::FlushEvents();
  bool sawDC = false;
  form->handler = [&sawDC](Form* self, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_KEST_PAINT) return false;
    sawDC = self->GetPaintDC() != nullptr && self->IsPainting() &&
            reinterpret_cast<HWND>(lParam) == self->GetHandle();
    return true;
  };
  InvalidateRect(form->GetHandle(), nullptr, TRUE);
  UpdateWindow(form->GetHandle());
  EXPECT_TRUE(sawDC);
  EXPECT_EQ(nullptr, form->GetPaintDC());
  EXPECT_FALSE(form->IsPainting());
}

TEST_F(FormTest, ActivationMovesTheFocusAndEndsTheLayout) {
  Form* a = MakeForm(50, 50, 200, 100, nullptr, true);
  Form* b = MakeForm(300, 50, 200, 100, nullptr, true);
  a->Show(false);
  b->Show(false);
  new Box(a, KEST_POS_FLOW, 20, 20);
  EXPECT_TRUE(a->HasFlowLayout());
  SetActiveWindow(b->GetHandle());
  SetActiveWindow(a->GetHandle());
  EXPECT_EQ(a->GetHandle(), GetFocus());
  velktest::FlushEvents();
  EXPECT_FALSE(a->HasFlowLayout());
}

// MDI frames.
class MDITest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    menu = new CKestMainMenu(0);
    HMENU file = menu->AppendSubMenu(L"Файл");
    menu->AppendItem(file, L"Выход", 100, 0, 0);
    windowMenu = menu->AppendSubMenu(L"Окно");
    menu->AppendItem(windowMenu, L"Каскадом", 101, 0, 0);
    frame = new Form;
    frame->SetWindowMenu(windowMenu);
    ASSERT_TRUE(frame->Create(nullptr, L"Редактор", KestPos(20, 20), 800, 600, menu, true, true,
                              true, true));
    top = new Panel(frame, KEST_POS_TOP, 10, 30);
    status = new Panel(frame, KEST_POS_BOTTOM, 10, 20);
    ASSERT_TRUE(frame->CreateMDIClient());
    frame->Show(false);
    velktest::FlushEvents();
  }
  MDIChild* AddChild(const wchar_t* caption, uint32_t position = KEST_POS_FLOW) {
    MDIChild* child = new MDIChild;
    child->deleted = &childrenDeleted;
    EXPECT_TRUE(child->Create(frame, caption, true, true, position, 300, 200));
    return child;
  }
  CKestControl* Active() { return frame->GetActiveMDIChild(); }

  CKestMainMenu* menu = nullptr;
  HMENU windowMenu = nullptr;
  Form* frame = nullptr;
  Panel* top = nullptr;
  Panel* status = nullptr;
  int childrenDeleted = 0;
};

TEST_F(MDITest, ClientFillsWhatTheDockedPanelsLeave) {
  RECT client;
  GetClientRect(frame->GetHandle(), &client);
  HWND mdi = frame->GetMDIClient();
  EXPECT_EQ(Describe(0, 30, client.right, client.bottom - 20), Describe(RectIn(frame->GetHandle(), mdi)));
  EXPECT_EQ(Describe(0, client.bottom - 20, client.right, client.bottom),
            Describe(RectIn(frame->GetHandle(), status->GetHandle())));
  EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), frame->GetBackColor());

  frame->SetSize(900, 650);
  GetClientRect(frame->GetHandle(), &client);
  EXPECT_EQ(Describe(0, 30, client.right, client.bottom - 20), Describe(RectIn(frame->GetHandle(), mdi)));
  EXPECT_TRUE(IsWindowVisible(status->GetHandle()));
}

TEST_F(MDITest, ChildrenAreListedActivatedAndClosed) {
  MDIChild* first = AddChild(L"Схема 1");
  MDIChild* second = AddChild(L"Схема 2");
  MDIChild* third = AddChild(L"Схема 3", KEST_POS_CENTER);
  EXPECT_EQ(3, frame->GetMDIChildCount());
  EXPECT_EQ(third, Active());
  EXPECT_EQ(3, LiveForms.count - 1);
  RECT centred = RectIn(frame->GetMDIClient(), third->GetHandle());
  EXPECT_EQ((800 - 300) / 2, centred.left);
  EXPECT_EQ((600 - 200) / 2, centred.top);

  // The window menu lists them; choosing an entry activates that child.
  int firstId = static_cast<int>(GetWindowLongPtrW(first->GetHandle(), GWLP_ID));
  EXPECT_GE(firstId, 0xFF00);
  EXPECT_EQ(first->GetHandle(), frame->FindMDIChild(firstId));
  EXPECT_GE(CKestMenu::FindItemIndexIn(windowMenu, firstId), 0);
  SendMessageW(frame->GetHandle(), WM_COMMAND, static_cast<WPARAM>(firstId), 0);
  EXPECT_EQ(first, Active());
  EXPECT_EQ(first, frame->GetMDIChildAt(0));  // z-order: the active one on top

  // Restore and minimise the active child through the frame's commands.
  SendMessageW(frame->GetMDIClient(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first->GetHandle()), 0);
  ASSERT_TRUE(IsZoomed(first->GetHandle()));
  SendMessageW(frame->GetHandle(), WM_COMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(first->GetHandle()));
  SendMessageW(frame->GetHandle(), WM_COMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(first->GetHandle()));

  // Closing a child destroys it through the MDI client.
  PostMessageW(second->GetHandle(), WM_CLOSE, 0, 0);
  velktest::FlushEvents();
  EXPECT_EQ(1, childrenDeleted);
  EXPECT_EQ(2, frame->GetMDIChildCount());
  EXPECT_EQ(-1, FindLiveForm(second));
}

TEST_F(MDITest, CloseButtonOfAMaximisedChildReachesTheChild) {
  AddChild(L"Схема 1");
  MDIChild* child = AddChild(L"Схема 2");
  SendMessageW(frame->GetMDIClient(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->GetHandle()), 0);
  ASSERT_TRUE(IsZoomed(child->GetHandle()));
  SendMessageW(frame->GetHandle(), WM_COMMAND, SC_CLOSE, 0);
  velktest::FlushEvents();
  EXPECT_EQ(1, childrenDeleted);
  EXPECT_EQ(1, frame->GetMDIChildCount());
}

CKestForm* listFrame = nullptr;
int listCount = -1;
CKestControl* listChosen = nullptr;
bool listAnswer = true;

class FakeWindowListHost : public CKestHost {
public:
  bool ChooseMDIWindow(CKestForm* frame, int* index) override;
};

bool FakeWindowListHost::ChooseMDIWindow(CKestForm* f, int* index) {
  listFrame = f;
  listCount = f->GetMDIChildCount();
  *index = 4;
  listChosen = f->GetMDIChildAt(4);
  return listAnswer;
}

TEST_F(MDITest, MoreWindowsOpensTheWindowListAndActivatesTheChoice) {
  for (int i = 1; i <= 12; ++i) AddChild((L"Схема " + std::to_wstring(i)).c_str());
  ASSERT_EQ(12, frame->GetMDIChildCount());
  CKestControl* before = Active();

  // Without a window list the command does nothing.
  SendMessageW(frame->GetHandle(), WM_COMMAND, CKestForm::MoreWindowsId, 0);
  EXPECT_EQ(before, Active());

  FakeWindowListHost fakeHost;
  CKestHostScope withList(&fakeHost);
  listAnswer = false;  // cancelled
  SendMessageW(frame->GetHandle(), WM_COMMAND, CKestForm::MoreWindowsId, 0);
  EXPECT_EQ(frame, listFrame);
  EXPECT_EQ(12, listCount);
  EXPECT_EQ(before, Active());

  listAnswer = true;
  SendMessageW(frame->GetHandle(), WM_COMMAND, CKestForm::MoreWindowsId, 0);
  ASSERT_NE(nullptr, listChosen);
  EXPECT_NE(before, listChosen);
  EXPECT_EQ(listChosen, Active());
}

// Feeds a Tab or Enter key-down for the focused window through the loop's
// pre-translation; answers whether it was used up.
bool PressKey(WPARAM key, bool shift = false) {
  kesttest::SetModifierKeys(shift, false, false);
  MSG msg = {GetFocus(), WM_KEYDOWN, key, 0, 0, {0, 0}};
  PreTranslateKeyMessage(&msg);
  kesttest::SetModifierKeys(false, false, false);
  return msg.message == WM_NULL;
}

TEST_F(MDITest, TabNeverLeavesTheChildItStartsIn) {
  MDIChild* a = AddChild(L"Схема 1", KestPos(0, 0));
  MDIChild* b = AddChild(L"Схема 2", KestPos(320, 0));
  auto* a1 = new CKestEdit(a, 11, KestPos(10, 10), 100, 21, false, 0, true);
  auto* a2 = new CKestEdit(a, 12, KestPos(10, 40), 100, 21, false, 0, true);
  auto* b1 = new CKestEdit(b, 21, KestPos(10, 10), 100, 21, false, 0, true);
  auto* b2 = new CKestEdit(b, 22, KestPos(10, 40), 100, 21, false, 0, true);
  auto* topEdit = new CKestEdit(top, 31, KestPos(0, 0), 100, 21, false, 0, true);
  kesttest::ActivateWindow(frame->GetHandle());

  struct Step {
    CKestControl* from;
    bool shift;
    CKestControl* to;
  } steps[] = {
      {a1, false, a2}, {a2, false, a1},  // wraps inside the first child
      {a1, true, a2},  {a2, true, a1},
      {b2, false, b1}, {b1, true, b2},   // and inside the second
      {topEdit, false, topEdit},         // the frame's own widgets do not reach into the children
      {topEdit, true, topEdit},
  };
  for (const Step& step : steps) {
    SetFocus(step.from->GetHandle());
    ASSERT_EQ(step.from->GetHandle(), GetFocus());
    EXPECT_TRUE(PressKey(VK_TAB, step.shift));
    EXPECT_EQ(step.to->GetHandle(), GetFocus())
        << GetDlgCtrlID(step.from->GetHandle()) << (step.shift ? " Shift+Tab" : " Tab");
  }
}

TEST_F(MDITest, EnterPressesOnlyTheDefaultButtonOfTheFocusedChild) {
  MDIChild* a = AddChild(L"Схема 1", KestPos(0, 0));
  MDIChild* b = AddChild(L"Схема 2", KestPos(320, 0));
  auto* aEdit = new CKestEdit(a, 11, KestPos(10, 10), 100, 21, false, 0, true);
  auto* bEdit = new CKestEdit(b, 21, KestPos(10, 10), 100, 21, false, 0, true);
  new CKestButton(b, L"OK", true, 25, KestPos(10, 40), 80, 25, nullptr, 0);
  kesttest::ActivateWindow(frame->GetHandle());

  // The first child has no default button: Enter goes on to its edit.
  SetFocus(aEdit->GetHandle());
  EXPECT_FALSE(PressKey(VK_RETURN));
  velktest::FlushEvents();
  EXPECT_TRUE(a->commands.empty());
  EXPECT_TRUE(b->commands.empty());

  // In the second child Enter presses its own default button.
  SetFocus(bEdit->GetHandle());
  EXPECT_TRUE(PressKey(VK_RETURN));
  velktest::FlushEvents();
  EXPECT_EQ(std::vector<int>{25}, b->commands);
  EXPECT_TRUE(a->commands.empty());
}

TEST_F(MDITest, CascadeAndTileArrangeTheChildren) {
  MDIChild* a = AddChild(L"Схема 1", KestPos(0, 0));
  MDIChild* b = AddChild(L"Схема 2", KestPos(0, 0));
  frame->TileChildren();
  RECT ra = RectIn(frame->GetMDIClient(), a->GetHandle());
  RECT rb = RectIn(frame->GetMDIClient(), b->GetHandle());
  EXPECT_NE(ra.top, rb.top);  // one above the other
  frame->CascadeChildren();
  ra = RectIn(frame->GetMDIClient(), a->GetHandle());
  rb = RectIn(frame->GetMDIClient(), b->GetHandle());
  EXPECT_NE(ra.left, rb.left);
  EXPECT_NE(ra.top, rb.top);
}

// A picture of the framework at work: an MDI frame with docked panels, a
// child window with a tool panel and an edit, and a modal dialog built with
// the flow layout.
std::wstring BuildFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  size_t slash = exe.find_last_of(L"\\/");
  std::wstring bin = exe.substr(0, slash);
  slash = bin.find_last_of(L"\\/");
  return bin.substr(0, slash + 1);
}

template <typename F>
F Proc(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Converts a BMP file to PNG with GDI+ (loaded at run time).
bool ConvertToPng(const std::wstring& bmp, const std::wstring& png) {
  HMODULE gdiplus = LoadLibraryW(L"gdiplus.dll");
  if (!gdiplus) return false;
  struct StartupInput {
    UINT32 version;
    void* callback;
    BOOL noThread;
    BOOL noCodecs;
  };
  using Startup = int(WINAPI*)(ULONG_PTR*, const StartupInput*, void*);
  using Shutdown = void(WINAPI*)(ULONG_PTR);
  using FromFile = int(WINAPI*)(const wchar_t*, void**);
  using Save = int(WINAPI*)(void*, const wchar_t*, const CLSID*, const void*);
  using Dispose = int(WINAPI*)(void*);
  auto startup = Proc<Startup>(gdiplus, "GdiplusStartup");
  auto shutdown = Proc<Shutdown>(gdiplus, "GdiplusShutdown");
  auto fromFile = Proc<FromFile>(gdiplus, "GdipCreateBitmapFromFile");
  auto save = Proc<Save>(gdiplus, "GdipSaveImageToFile");
  auto dispose = Proc<Dispose>(gdiplus, "GdipDisposeImage");
  bool ok = false;
  if (startup && shutdown && fromFile && save && dispose) {
    ULONG_PTR token = 0;
    StartupInput input = {1, nullptr, FALSE, FALSE};
    if (startup(&token, &input, nullptr) == 0) {
      void* image = nullptr;
      if (fromFile(bmp.c_str(), &image) == 0 && image) {
        const CLSID pngEncoder = {0x557CF406, 0x1A04, 0x11D3,
                                  {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
        ok = save(image, png.c_str(), &pngEncoder, nullptr) == 0;
        dispose(image);
      }
      shutdown(token);
    }
  }
  FreeLibrary(gdiplus);
  return ok;
}

// Colour of the screen pixel at a point of a window's client area, read from
// a saved 24-bit bottom-up BMP of that window.
COLORREF PixelOf(const std::vector<uint8_t>& bmp, HWND window, HWND inner, int x, int y) {
  if (bmp.size() < 54) return CLR_INVALID;
  RECT wr;
  GetWindowRect(window, &wr);
  POINT p = {x, y};
  ClientToScreen(inner, &p);
  int bx = p.x - wr.left, by = p.y - wr.top;
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (bx < 0 || by < 0 || bx >= w || by >= h) return CLR_INVALID;
  size_t stride = ((w * 24 + 31) / 32) * 4;
  size_t at = 54 + (h - 1 - by) * stride + bx * 3;
  if (at + 3 > bmp.size()) return CLR_INVALID;
  return RGB(bmp[at + 2], bmp[at + 1], bmp[at]);
}

TEST_F(MDITest, ScreenshotOfAFrameWithAChildAndAModalDialog) {
  frame->SetCaption(L"Редактор схем и подключений");
  frame->SetSize(900, 650);
  const COLORREF panelColor = RGB(60, 100, 160);
  top->SetGradient(true, RGB(150, 190, 240));
  top->SetBackColor(panelColor);
  StdControl* title = new StdControl(top, L"STATIC", L"Панель инструментов", 0, KestPos(8, 7),
                                     200, 16);
  (void)title;
  new StdControl(status, L"STATIC", L"Готово", 0, KestPos(6, 2), 200, 16);

  MDIChild* child = AddChild(L"Основная схема", KestPos(20, 20));
  Panel* tools = new Panel(child, KEST_POS_TOP, 400, 32);
  tools->GetFlowLayout()->gap = 4;
  new StdControl(tools, L"BUTTON", L"Провод", BS_PUSHBUTTON, KEST_POS_FLOW, 70, 24);
  new StdControl(tools, L"BUTTON", L"Узел", BS_PUSHBUTTON, KEST_POS_FLOW, 70, 24);
  new StdControl(tools, L"BUTTON", L"Шина", BS_PUSHBUTTON, KEST_POS_FLOW, 70, 24);
  StdControl* text = new StdControl(child, L"EDIT", L"R1 — резистор 10 кОм\r\nC1 — конденсатор 100 нФ",
                                    ES_MULTILINE | WS_VSCROLL, KEST_POS_CLIENT, 10, 10, 0,
                                    WS_EX_CLIENTEDGE);
  (void)text;
  child->SetSize(420, 300);
  AddChild(L"Плата", KestPos(260, 120));

  Form* dialog = new Form;
  ASSERT_TRUE(dialog->Create(frame, L"Свойства блока", KEST_POS_CENTER, 360, 150, nullptr, false,
                             false, true, true));
  new StdControl(dialog, L"STATIC", L"Имя блока:", 0, KEST_POS_FLOW, 80, 18);
  new StdControl(dialog, L"EDIT", L"Генератор 1", WS_TABSTOP | ES_AUTOHSCROLL, KEST_POS_FLOW,
                 230, 21, 0, WS_EX_CLIENTEDGE);
  dialog->BeginCenteredRows();
  new StdControl(dialog, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, KEST_POS_FLOW, 80, 25, 1);
  new StdControl(dialog, L"BUTTON", L"Отмена", BS_PUSHBUTTON | WS_TABSTOP, KEST_POS_FLOW, 80, 25, 2);
  dialog->CenterFlowRows();

  std::wstring folder = BuildFolder() + L"screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring bmpPath = folder + L"kest_forms.bmp";
  std::wstring pngPath = folder + L"kest_forms.png";
  DeleteFileW(pngPath.c_str());
  bool saved = false;
  bool frameDisabled = false;
  HWND frameWindow = frame->GetHandle();
  dialog->handler = [&](Form* self, UINT message, WPARAM, LPARAM) {
    if (message != WM_TEST_STEP) return false;
    frameDisabled = !IsWindowEnabled(frameWindow);
    RedrawWindow(frameWindow, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RedrawWindow(self->GetHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    saved = velktest::SaveWindowBitmap(frameWindow, bmpPath);
    self->PostClose(1);
    return true;
  };
  // Let the layout settle (activation realigns every form) before the dialog.
  velktest::FlushEvents();
  PostMessageW(dialog->GetHandle(), WM_TEST_STEP, 0, 0);
  EXPECT_EQ(1, dialog->ShowModal(false));
  EXPECT_TRUE(frameDisabled);
  ASSERT_TRUE(saved);

  std::vector<uint8_t> bmp = velktest::ReadWholeFile(bmpPath);
  // The docked panel's gradient starts with its colour at the top; the
  // workspace shows below the children.
  EXPECT_EQ(panelColor, PixelOf(bmp, frameWindow, top->GetHandle(), 400, 0));
  RECT mdi;
  GetClientRect(frame->GetMDIClient(), &mdi);
  EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE),
            PixelOf(bmp, frameWindow, frame->GetMDIClient(), mdi.right - 5, mdi.bottom - 5));
  EXPECT_TRUE(ConvertToPng(bmpPath, pngPath));
  DeleteFileW(bmpPath.c_str());
}

}  // namespace
