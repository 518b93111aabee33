// Common dialogs through fakes of the system dialogs (filter lists, flags,
// buffers, the remembered filter index, custom colours, the print dialog's
// page selection) and the message box over the live forms.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/buffers.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/forms/kest_form.h"
#include "kestui/hints/kest_hint.h"
#include "support/test_support.h"

namespace {

// What the fake dialogs saw and answer.
struct FakeDialogs {
  int calls = 0;
  BOOL accept = TRUE;
  DWORD filterIndex = 1;
  const wchar_t* chosenPath = L"C:\\схемы\\робот.vlkx";
  std::vector<wchar_t> filterList;  // the double-terminated list, with both zeros
  DWORD flags = 0;
  DWORD maxFile = 0;
  DWORD structSize = 0;
  std::wstring initialName;
  HWND owner = nullptr;
  COLORREF colour = 0;
  COLORREF* customColours = nullptr;
  // print dialog
  HRESULT printResult = S_OK;
  DWORD resultAction = PD_RESULT_PRINT;
  DWORD outFlags = 0;
  DWORD outRanges = 0;
  DWORD seenRanges = 0;
  DWORD seenMin = 0, seenMax = 0;
  HDC dc = nullptr;
  bool hintsDuring = true;
};
FakeDialogs* g_fake = nullptr;

BOOL FakeFileDialog(OPENFILENAMEW* info) {
  FakeDialogs& f = *g_fake;
  ++f.calls;
  f.structSize = info->lStructSize;
  f.flags = info->Flags;
  f.maxFile = info->nMaxFile;
  f.owner = info->hwndOwner;
  f.initialName = info->lpstrFile;
  f.filterList.clear();
  if (const wchar_t* p = info->lpstrFilter) {
    while (p[0] || p[1]) f.filterList.push_back(*p++);
    f.filterList.push_back(0);
    f.filterList.push_back(0);
  }
  if (!f.accept) return FALSE;
  wcsncpy(info->lpstrFile, f.chosenPath, info->nMaxFile);
  info->nFilterIndex = f.filterIndex;
  return TRUE;
}

BOOL FakeColourDialog(CHOOSECOLORW* info) {
  FakeDialogs& f = *g_fake;
  ++f.calls;
  f.flags = info->Flags;
  f.customColours = info->lpCustColors;
  f.hintsDuring = HintsEnabled;
  if (!f.accept) return FALSE;
  info->lpCustColors[3] = RGB(1, 2, 3);
  info->rgbResult = f.colour;
  return TRUE;
}

HRESULT FakePrintDialog(PRINTDLGEXW* info) {
  FakeDialogs& f = *g_fake;
  ++f.calls;
  f.structSize = info->lStructSize;
  f.flags = info->Flags;
  f.owner = info->hwndOwner;
  f.seenRanges = info->nPageRanges;
  f.seenMin = info->nMinPage;
  f.seenMax = info->nMaxPage;
  f.hintsDuring = HintsEnabled;
  if (f.printResult != S_OK) return f.printResult;
  info->dwResultAction = f.resultAction;
  info->Flags = (info->Flags & ~static_cast<DWORD>(PD_SELECTION)) | f.outFlags;
  if (info->lpPageRanges && f.outRanges) {
    info->lpPageRanges[0] = {2, 4};
    info->nPageRanges = f.outRanges;
  }
  if (f.resultAction != PD_RESULT_CANCEL) info->hDC = f.dc = CreateCompatibleDC(nullptr);
  return S_OK;
}

const KestCommonDialogSeam FakeSeam = {FakeFileDialog, FakeFileDialog, FakeColourDialog,
                                       FakePrintDialog};

class DialogsTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_fake = &fake;
    SetCommonDialogSeam(&FakeSeam);
  }
  void TearDown() override {
    SetCommonDialogSeam(nullptr);
    g_fake = nullptr;
  }
  FakeDialogs fake;
};

std::wstring Owned(wchar_t* text) {
  std::wstring result = text ? text : L"<null>";
  FreeBuffer(text);
  return result;
}

}  // namespace

TEST(FileFilterList, BarsBecomeZerosWithOneMoreAtTheEnd) {
  struct Case {
    const wchar_t* filter;
    std::vector<wchar_t> expected;
  } cases[] = {
      {L"Все файлы (*.*)|*.*",
       {L'В', L'с', L'е', L' ', L'ф', L'а', L'й', L'л', L'ы', L' ', L'(', L'*', L'.', L'*', L')', 0,
        L'*', L'.', L'*', 0, 0}},
      {L"A|*.a|B|*.b", {L'A', 0, L'*', L'.', L'a', 0, L'B', 0, L'*', L'.', L'b', 0, 0}},
      {L"", {0, 0}},
  };
  for (const Case& c : cases) {
    wchar_t* list = BuildFileFilterList(c.filter);
    ASSERT_NE(nullptr, list);
    std::vector<wchar_t> got(list, list + c.expected.size());
    EXPECT_EQ(c.expected, got) << "filter " << std::string(c.filter, c.filter + wcslen(c.filter)).size();
    FreeBuffer(list);
  }
  EXPECT_EQ(nullptr, BuildFileFilterList(nullptr));
}

TEST(FileDialogName, ALongInitialNameIsCutToTheBuffer) {
  wchar_t buffer[6];
  wmemset(buffer, L'#', 6);
  EXPECT_FALSE(CopyInitialFileName(buffer, 5, L"abcdefgh"));
  EXPECT_EQ(std::wstring(L"abcd"), buffer);
  EXPECT_EQ(L'#', buffer[5]);
  EXPECT_TRUE(CopyInitialFileName(buffer, 5, L"abcd"));
  EXPECT_EQ(std::wstring(L"abcd"), buffer);
  EXPECT_TRUE(CopyInitialFileName(buffer, 5, nullptr));
  EXPECT_EQ(std::wstring(L""), buffer);
}

TEST_F(DialogsTest, SaveRemembersTheFilterOnlyWhenAccepted) {
  LastFileFilterIndex = 1;
  fake.accept = FALSE;
  EXPECT_EQ(nullptr, ShowSaveFileDialog(nullptr, L"робот", L"vlkx", L"A|*.a|B|*.b", nullptr, nullptr));
  EXPECT_EQ(1, LastFileFilterIndex);
  // The full record: 88 bytes in the 32-bit program, larger at 64 bits.
  EXPECT_EQ(sizeof(OPENFILENAMEW), fake.structSize);
  EXPECT_EQ(0xA81C06u, fake.flags);
  EXPECT_EQ(261u, fake.maxFile);
  EXPECT_EQ(L"робот", fake.initialName);

  fake.accept = TRUE;
  fake.filterIndex = 2;
  EXPECT_EQ(L"C:\\схемы\\робот.vlkx",
            Owned(ShowSaveFileDialog(nullptr, nullptr, nullptr, L"A|*.a|B|*.b", nullptr, L"C:\\")));
  EXPECT_EQ(2, LastFileFilterIndex);
  EXPECT_EQ(0xA81C06u | OFN_NOCHANGEDIR, fake.flags);
  EXPECT_EQ(std::vector<wchar_t>({L'A', 0, L'*', L'.', L'a', 0, L'B', 0, L'*', L'.', L'b', 0, 0}),
            fake.filterList);
  LastFileFilterIndex = 1;
}

TEST_F(DialogsTest, OpenDialogFlagsBuffersAndLongNames) {
  EXPECT_NE(L"<null>", Owned(ShowOpenFileDialog(nullptr, nullptr, false, nullptr, nullptr, nullptr,
                                                nullptr)));
  EXPECT_EQ(0xA81C04u, fake.flags);
  EXPECT_EQ(261u, fake.maxFile);
  EXPECT_TRUE(fake.filterList.empty());

  std::wstring longName(300, L'x');
  Owned(ShowOpenFileDialog(nullptr, longName.c_str(), false, nullptr, L"*|*.*", nullptr, nullptr));
  EXPECT_EQ(std::wstring(260, L'x'), fake.initialName);

  std::wstring hugeName(9000, L'y');
  Owned(ShowOpenFileDialog(nullptr, hugeName.c_str(), true, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(0xA81E04u, fake.flags);
  EXPECT_EQ(8193u, fake.maxFile);
  EXPECT_EQ(std::wstring(8192, L'y'), fake.initialName);
  LastFileFilterIndex = 1;
}

TEST_F(DialogsTest, ColourDialogKeepsTheCustomColoursForTheProgram) {
  fake.accept = FALSE;
  EXPECT_EQ(KestColorCancelled, ShowColorDialog(nullptr, RGB(10, 20, 30)));
  EXPECT_EQ(static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR), fake.flags);
  ASSERT_NE(nullptr, CustomColors);
  EXPECT_EQ(CustomColors, fake.customColours);

  fake.accept = TRUE;
  fake.colour = RGB(200, 100, 50);
  EXPECT_EQ(RGB(200, 100, 50), ShowColorDialog(nullptr, RGB(10, 20, 30)));
  EXPECT_EQ(RGB(1, 2, 3), CustomColors[3]);
  COLORREF* kept = CustomColors;
  fake.accept = FALSE;
  ShowColorDialog(nullptr, 0);
  EXPECT_EQ(kept, fake.customColours);
  EXPECT_EQ(RGB(1, 2, 3), CustomColors[3]);
  EXPECT_FALSE(fake.hintsDuring);
  EXPECT_TRUE(HintsEnabled);
}

namespace {

PrintPageSelection Pages(uint32_t min, uint32_t max, int32_t current, uint32_t previousMax,
                         std::vector<PRINTPAGERANGE> ranges) {
  PrintPageSelection pages = {};
  pages.minPage = min;
  pages.maxPage = max;
  pages.currentPage = current;
  pages.previousMaxPage = previousMax;
  pages.rangeCount = static_cast<uint32_t>(ranges.size());
  for (size_t i = 0; i < ranges.size(); ++i) pages.ranges[i] = ranges[i];
  return pages;
}

std::vector<std::pair<DWORD, DWORD>> Ranges(const PrintPageSelection& pages) {
  std::vector<std::pair<DWORD, DWORD>> result;
  for (uint32_t i = 0; i < pages.rangeCount; ++i) {
    result.push_back({pages.ranges[i].nFromPage, pages.ranges[i].nToPage});
  }
  return result;
}

}  // namespace

TEST(PrintPages, RangesFollowAChangingPageCount) {
  using R = std::vector<std::pair<DWORD, DWORD>>;
  struct Case {
    PrintPageSelection pages;
    R expected;
  } cases[] = {
      {Pages(1, 5, -1, 0, {}), R{{1, 5}}},                       // first dialog
      {Pages(1, 5, -1, 3, {{1, 3}}), R{{1, 5}}},                 // the document grew
      {Pages(1, 5, -1, 3, {{1, 2}, {3, 3}}), R{{1, 2}, {3, 5}}},
      {Pages(1, 3, -1, 5, {{1, 5}, {4, 5}}), R{{1, 3}}},         // it shrank
      {Pages(1, 3, -1, 5, {{4, 4}}), R{{1, 3}}},                 // nothing left inside
      {Pages(1, 5, -1, 5, {{2, 4}}), R{{2, 4}}},                 // unchanged
  };
  for (Case& c : cases) {
    UpdatePrintPageSelection(&c.pages);
    EXPECT_EQ(c.expected, Ranges(c.pages));
    EXPECT_EQ(c.pages.maxPage, c.pages.previousMaxPage);
  }
  PrintPageSelection many = Pages(1, 9, -1, 9, {});
  many.rangeCount = 1000;
  UpdatePrintPageSelection(&many);
  EXPECT_LE(many.rangeCount, static_cast<uint32_t>(KestMaxPrintPageRanges));

  PrintPageSelection current = Pages(1, 5, 2, 5, {{1, 5}});
  ApplyPrintPageChoice(&current, PD_CURRENTPAGE, 1);
  EXPECT_EQ((R{{2, 2}}), Ranges(current));
}

TEST_F(DialogsTest, PrintDialogOwnerFlagsAndResult) {
  auto* main = new CKestForm;
  ASSERT_TRUE(main->Create(nullptr, L"Главная", KestPos(10, 10), 300, 200, nullptr, true, true,
                           true, true));
  HWND mainWindow = main->GetHandle();
  ASSERT_EQ(main, MainKestForm);

  PrintPageSelection pages = Pages(1, 5, 2, 3, {{1, 3}});
  fake.outRanges = 1;
  HDC dc = ShowPrintDialog(nullptr, nullptr, &pages);
  // 84 bytes in the 32-bit program, larger at 64 bits.
  EXPECT_EQ(sizeof(PRINTDLGEXW), fake.structSize);
  EXPECT_EQ(mainWindow, fake.owner);
  EXPECT_EQ(static_cast<DWORD>(PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE |
                               PD_NOSELECTION),
            fake.flags);
  EXPECT_EQ(1u, fake.seenRanges);
  EXPECT_EQ(1u, fake.seenMin);
  EXPECT_EQ(5u, fake.seenMax);
  ASSERT_NE(nullptr, dc);
  EXPECT_EQ(fake.dc, dc);
  DeleteDC(dc);
  EXPECT_EQ((std::vector<std::pair<DWORD, DWORD>>{{2, 4}}), Ranges(pages));

  // The current page, by Apply: the choice is kept but no DC comes back.
  fake.resultAction = PD_RESULT_APPLY;
  fake.outFlags = PD_CURRENTPAGE;
  EXPECT_EQ(nullptr, ShowPrintDialog(nullptr, nullptr, &pages));
  EXPECT_EQ((std::vector<std::pair<DWORD, DWORD>>{{2, 2}}), Ranges(pages));

  // A selection offered, no page numbers, no current page.
  fake.resultAction = PD_RESULT_PRINT;
  fake.outFlags = PD_SELECTION;
  bool selection = false;
  dc = ShowPrintDialog(main, &selection, nullptr);
  EXPECT_EQ(static_cast<DWORD>(PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE |
                               PD_NOPAGENUMS | PD_SELECTION | PD_NOCURRENTPAGE),
            fake.flags);
  EXPECT_TRUE(selection);
  DeleteDC(dc);

  fake.resultAction = PD_RESULT_CANCEL;
  EXPECT_EQ(nullptr, ShowPrintDialog(main, &selection, nullptr));
  fake.printResult = E_INVALIDARG;
  EXPECT_EQ(nullptr, ShowPrintDialog(main, &selection, nullptr));
  EXPECT_FALSE(fake.hintsDuring);
  EXPECT_TRUE(HintsEnabled);

  DestroyWindow(mainWindow);
  velktest::FlushEvents();
  EXPECT_EQ(nullptr, MainKestForm);
}

namespace {

// Records, when a message box becomes active, whether the forms are enabled.
struct EnabledProbe {
  std::vector<HWND> windows;
  std::vector<std::vector<bool>> seen;
};
EnabledProbe* g_probe = nullptr;
HHOOK g_probeHook = nullptr;

LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_probe) {
    wchar_t cls[32] = {};
    GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 32);
    if (wcscmp(cls, L"#32770") == 0 && g_probe->seen.empty()) {
      std::vector<bool> states;
      for (HWND w : g_probe->windows) states.push_back(IsWindowEnabled(w) != FALSE);
      g_probe->seen.push_back(states);
    }
  }
  return CallNextHookEx(g_probeHook, code, wParam, lParam);
}

}  // namespace

TEST(ModalMessageBox, DisablesEveryLiveFormAndRestoresThem) {
  auto* main = new CKestForm;
  ASSERT_TRUE(main->Create(nullptr, L"Главная", KestPos(10, 10), 300, 200, nullptr, true, true,
                           true, true));
  auto* dialog = new CKestForm;
  ASSERT_TRUE(dialog->Create(main, L"Диалог", KestPos(40, 40), 200, 120, nullptr, false, false,
                             true, true));
  auto* disabled = new CKestForm;
  ASSERT_TRUE(disabled->Create(main, L"Выключена", KestPos(60, 60), 200, 120, nullptr, false,
                               false, true, true));
  HWND windows[3] = {main->GetHandle(), dialog->GetHandle(), disabled->GetHandle()};
  main->Show(false);
  dialog->Show(false);
  disabled->Show(false);
  EnableWindow(windows[2], FALSE);
  SetActiveWindow(windows[1]);
  ASSERT_EQ(windows[1], GetActiveWindow());

  EnabledProbe probe;
  probe.windows.assign(windows, windows + 3);
  g_probe = &probe;
  // Installed before the answerer, so it sees the box before it is closed.
  velktest::DialogAnswerer answerer(IDOK);
  g_probeHook = SetWindowsHookExW(WH_CBT, ProbeHook, nullptr, GetCurrentThreadId());
  ASSERT_NE(nullptr, g_probeHook);

  int result = ShowMessageBox(dialog, MB_OK | MB_ICONWARNING, L"Velkboard",
                              L"Файл %ls не найден (%d)", L"a%sb%n.vlkx", 7);
  UnhookWindowsHookEx(g_probeHook);
  g_probeHook = nullptr;
  g_probe = nullptr;

  EXPECT_EQ(IDOK, result);
  ASSERT_EQ(1, answerer.Count());
  EXPECT_EQ(L"Файл a%sb%n.vlkx не найден (7)", answerer.Texts()[0]);
  EXPECT_EQ(L"Velkboard", answerer.Captions()[0]);
  ASSERT_EQ(1u, probe.seen.size());
  EXPECT_EQ(std::vector<bool>({false, false, false}), probe.seen[0]);
  EXPECT_TRUE(IsWindowEnabled(windows[0]));
  EXPECT_TRUE(IsWindowEnabled(windows[1]));
  EXPECT_FALSE(IsWindowEnabled(windows[2]));
  EXPECT_EQ(windows[1], GetActiveWindow());

  DestroyWindow(windows[0]);
  velktest::FlushEvents();
}

TEST(ModalMessageBox, ALongTextIsCut) {
  std::wstring longText(5000, L'ж');
  velktest::DialogAnswerer answerer(IDOK);
  ShowMessageText(nullptr, MB_OK, L"Длинно", longText.c_str());
  ShowMessageBox(nullptr, MB_OK, L"Длинно", L"%ls", longText.c_str());
  ASSERT_EQ(2, answerer.Count());
  EXPECT_EQ(longText, answerer.Texts()[0]);
  EXPECT_EQ(std::wstring(2047, L'ж'), answerer.Texts()[1]);
}
