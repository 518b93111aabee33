// End to end: parts copied on a board in this process are pasted on a board
// in a Velkboard process of its own through the "VELK_PCB" clipboard
// format; the pasted part marks that document modified.
#include <windows.h>

#include <string>

#include "app/board/pcb_view.h"
#include "app/editor/editor_fixture.h"
#include "app/shell/startup.h"
#include "foundation/paths.h"
#include "kestui/forms/kest_form.h"
#include "support/test_support.h"

namespace {

class BoardPasteProcessTest : public apptest::EditorTest {};

struct Found {
  std::wstring text;
  HWND window = nullptr;
};

BOOL CALLBACK FindByText(HWND child, LPARAM out) {
  Found* found = reinterpret_cast<Found*>(out);
  if (apptest::WindowTextOf(child) == found->text) {
    found->window = child;
    return FALSE;
  }
  return TRUE;
}

// The scheme view: the editor's child with both scroll bars.
BOOL CALLBACK FindScrolledChild(HWND child, LPARAM out) {
  LONG style = GetWindowLongW(child, GWL_STYLE);
  if ((style & WS_HSCROLL) && (style & WS_VSCROLL)) {
    *reinterpret_cast<HWND*>(out) = child;
    return FALSE;
  }
  return TRUE;
}

HWND FindChild(HWND parent, const std::wstring& text) {
  Found found;
  found.text = text;
  EnumChildWindows(parent, FindByText, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

TEST_F(BoardPasteProcessTest, PartsCopiedHereArePastedInAnotherVelkboard) {
  // A document with one board at (100, 100).
  velktest::TempFolder folder;
  std::wstring path = folder.File(L"board.vlkx");
  {
    SchScheme document;
    CSCHBlock* board = document.CreateBlock("PCB");
    ASSERT_NE(nullptr, board);
    board->SetName(L"Плата9");
    board->MoveTo(100, 100);
    CMemoryStream stream;
    document.Write(&stream, 0);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    DWORD written = 0;
    WriteFile(f, stream.data, static_cast<DWORD>(stream.size), &written, nullptr);
    CloseHandle(f);
  }

  // A part copied from a board view here.
  RegisterClipboardFormats();
  SchScheme parts;
  CSCHBlock* meter = parts.CreateBlock("Multimeter");
  ASSERT_NE(nullptr, meter);
  meter->footprintWidth = 8;
  meter->footprintLength = 8;
  CKestForm* host = new CKestForm;
  ASSERT_TRUE(host->Create(nullptr, L"Копия", KestPos(0, 0), 300, 300, nullptr, false, false, true, true));
  CPCBView* view = new CPCBView(host, KestPos(0, 0), 200, 200, &parts, 50, 50);
  view->SelectAll(true);
  view->CopySelection();
  ASSERT_TRUE(IsPcbClipboardAvailable());

  velktest::ChildProcess program(apptest::VelkboardExePath(), L"\"" + path + L"\"");
  ASSERT_TRUE(program.Started());
  const std::wstring title = L"Редактор схем и подключений - board.vlkx";
  HWND window = program.WaitForWindow(title, 60000);
  ASSERT_NE(nullptr, window);
  HWND editor = nullptr;
  ASSERT_TRUE(velktest::PumpUntil([&] { return (editor = FindChild(window, L"Основная схема")) != nullptr; }, 30000));
  HWND schemeView = nullptr;
  EnumChildWindows(editor, FindScrolledChild, reinterpret_cast<LPARAM>(&schemeView));
  ASSERT_NE(nullptr, schemeView);

  // A double click on the board opens its editor, captioned with its name.
  PostMessageW(schemeView, WM_MOUSEMOVE, 0, MAKELPARAM(150, 150));
  PostMessageW(schemeView, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 150));
  PostMessageW(schemeView, WM_LBUTTONUP, 0, MAKELPARAM(150, 150));
  PostMessageW(schemeView, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(150, 150));
  HWND boardEditor = nullptr;
  ASSERT_TRUE(
      velktest::PumpUntil([&] { return (boardEditor = FindChild(window, L"Плата9")) != nullptr; }, 30000));

  // Paste there: the document is now modified.
  PostMessageW(boardEditor, WM_COMMAND, MAKEWPARAM(CPCBView::kCmdPaste, 0), 0);
  EXPECT_TRUE(velktest::PumpUntil(
      [&] { return apptest::WindowTextOf(window).find(L" *") != std::wstring::npos; }, 30000));
  delete host;
}

}  // namespace
