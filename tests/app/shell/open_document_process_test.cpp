// End to end: Velkboard.exe started with a document path shows the document
// in its scheme editor, and the title names the file.
#include <string>

#include "app/shell/startup.h"
#include "app/editor/editor_fixture.h"
#include "foundation/paths.h"
#include "support/test_support.h"

namespace {

class OpenDocumentProcessTest : public apptest::EditorTest {};

BOOL CALLBACK FindEditorChild(HWND child, LPARAM out) {
  if (apptest::WindowTextOf(child) == L"Основная схема") {
    *reinterpret_cast<HWND*>(out) = child;
    return FALSE;
  }
  return TRUE;
}

TEST_F(OpenDocumentProcessTest, DocumentOnTheCommandLineOpensInTheEditor) {
  velktest::TempFolder folder;
  std::wstring path = folder.File(L"robot with blanks.vlkx");
  WriteSample(path);
  std::wstring exe = apptest::VelkboardExePath();
  velktest::ChildProcess program(exe, L"\"" + path + L"\"");
  ASSERT_TRUE(program.Started());

  HWND window = program.WaitForWindow(L"Редактор схем и подключений - robot with blanks.vlkx", 60000);
  ASSERT_NE(nullptr, window);
  HWND editor = nullptr;
  EnumChildWindows(window, FindEditorChild, reinterpret_cast<LPARAM>(&editor));
  EXPECT_NE(nullptr, editor);
  // Unmodified: the close asks nothing and the program ends.
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(0, program.WaitForEnd(60000));
}

}  // namespace
