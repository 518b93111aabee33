// Opening and saving documents: command-line tokens, the robot scheme of a
// model, opening existing, missing, corrupt and read-only files, saving with
// the backup, saves that cannot write, the title and File > Open.
#include <windows.h>

#include <string>
#include <vector>

#include "app/editor/command_line.h"
#include "app/editor/scheme_file.h"
#include "app/shell/velkboard_host.h"
#include "app/resource.h"
#include "foundation/paths.h"
#include "app/editor/editor_fixture.h"
#include "kestui/forms/kest_dialogs.h"

namespace {

using apptest::LiveEditors;
using apptest::Place;
using apptest::OnlyEditor;
using apptest::WindowTextOf;
using velktest::DialogAnswerer;
using velktest::TempFolder;

const wchar_t kCaption[] = L"Редактор схем и подключений";

class DocumentTest : public apptest::EditorTest {
protected:
  // An open that failed: the answered box said "Невозможно загрузить
  // файл!", and there is no document nor an editor.
  static void ExpectOpenFailed(CMainForm* form, const DialogAnswerer& answer) {
    ASSERT_EQ(1, answer.Count());
    EXPECT_EQ(L"Невозможно загрузить файл!", answer.Texts()[0]);
    EXPECT_EQ(nullptr, form->GetScheme());
    EXPECT_TRUE(LiveEditors().empty());
  }
  // Save without a document is refused with a second box, "Необходимо
  // загрузить проект!".
  static void ExpectSaveRefused(CMainForm* form, const DialogAnswerer& answer) {
    form->SaveScheme();
    ASSERT_EQ(2, answer.Count());
    EXPECT_EQ(L"Необходимо загрузить проект!", answer.Texts()[1]);
  }
  // Writes the sample document to path (*bytes: what was written) and opens
  // it in a new main form.
  CMainForm* OpenWrittenSample(const std::wstring& path, std::vector<uint8_t>* bytes) {
    *bytes = WriteSample(path);
    CMainForm* form = MakeMainForm();
    form->OpenScheme(path.c_str());
    return form;
  }
};

std::vector<std::wstring> AllTokens(const wchar_t* line) {
  std::vector<std::wstring> tokens;
  const wchar_t* cursor = line;
  for (int guard = 0; guard < 10; guard++) {
    std::wstring t = NextCommandLineToken(&cursor);
    if (t.empty() && !*cursor) break;
    tokens.push_back(t);
  }
  return tokens;
}

TEST(CommandLineTokenTest, Table) {
  struct Case {
    const wchar_t* line;
    std::vector<std::wstring> tokens;
  };
  const Case cases[] = {
      {L"", {}},
      {L"   \t ", {}},
      {L"a.vlkx", {L"a.vlkx"}},
      {L"\"C:\\My docs\\robot 1.vlkx\" dev.bin", {L"C:\\My docs\\robot 1.vlkx", L"dev.bin"}},
      {L"C:\\My docs\\robot.vlkx", {L"C:\\My", L"docs\\robot.vlkx"}},
      {L"\t a\tb  c", {L"a", L"b", L"c"}},
      {L"\"no closing quote", {L"no closing quote"}},
      {L"\"\" x", {L"", L"x"}},
      {L"x\"y\" z", {L"x\"y\"", L"z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line [" << std::string(c.line, c.line + wcslen(c.line)) << "]");
    EXPECT_EQ(c.tokens, AllTokens(c.line));
  }
}

TEST(CommandLineTokenTest, LongTokensAreTakenWhole) {
  std::wstring path = L"C:\\" + std::wstring(700, L'd') + L"\\robot.vlkx";
  std::wstring line = L"\"" + path + L"\" " + std::wstring(600, L'e');
  const wchar_t* cursor = line.c_str();
  EXPECT_EQ(path, NextCommandLineToken(&cursor));
  EXPECT_EQ(std::wstring(600, L'e'), NextCommandLineToken(&cursor));
  EXPECT_EQ(L"", NextCommandLineToken(&cursor));
  EXPECT_EQ(L'\0', *cursor);
}

TEST(RobotSchemePathTest, Table) {
  struct Case {
    const wchar_t* folder;
    const wchar_t* model;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"C:\\Velk\\Robots\\", L"D:\\max\\rover.max", L"C:\\Velk\\Robots\\rover.vlkx"},
      {L"C:\\Velk\\Robots\\", L"rover.MAX", L"C:\\Velk\\Robots\\rover.vlkx"},
      {L"R\\", L"D:/models/arm.v2.max", L"R\\arm.v2.vlkx"},
      {L"R\\", L"D:\\models\\noext", L"R\\noext.vlkx"},
      {L"", L"a|b.max", L"b.vlkx"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, BuildRobotSchemePath(c.folder, c.model));
  std::wstring longFolder = L"C:\\" + std::wstring(400, L'f') + L"\\";
  EXPECT_EQ(longFolder + L"rover.vlkx", BuildRobotSchemePath(longFolder, L"rover.max"));
}

TEST(SchemeBackupPathTest, Table) {
  EXPECT_EQ(L"C:\\a\\robot.~vlkx", SchemeBackupPath(L"C:\\a\\robot.vlkx"));
  EXPECT_EQ(L"C:\\a.b\\robot.~vlkx", SchemeBackupPath(L"C:\\a.b\\robot"));
  EXPECT_EQ(L"x.y.~vlkx", SchemeBackupPath(L"x.y.z"));
}

TEST_F(DocumentTest, ExistingDocumentOpensInTheMainEditor) {
  TempFolder folder;
  std::wstring path = folder.File(L"my robot.vlkx");
  WriteSample(path);
  CMainForm* form = MakeMainForm();
  std::wstring line = L"\"" + path + L"\" ";
  form->OpenCommandLineFiles(line.c_str());

  CSphEditor* editor = OnlyEditor();
  ASSERT_NE(nullptr, editor);
  EXPECT_TRUE(editor->IsMainScheme());
  EXPECT_EQ(CSphEditor::kEditorMain, editor->GetMode());
  EXPECT_EQ(form->GetScheme(), editor->GetScheme());
  EXPECT_EQ(L"Основная схема", WindowTextOf(editor->GetHandle()));
  ASSERT_NE(nullptr, form->GetScheme());
  EXPECT_EQ(5, form->GetScheme()->BlockCount());
  EXPECT_EQ(3, form->GetScheme()->WireCount());
  EXPECT_EQ(1, form->GetScheme()->BusCount());
  EXPECT_STREQ(path.c_str(), form->GetFileName());
  EXPECT_FALSE(form->IsModified());
  EXPECT_EQ(std::wstring(kCaption) + L" - my robot.vlkx", WindowTextOf(form->GetHandle()));

  SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
  EXPECT_EQ(std::wstring(kCaption) + L" - my robot.vlkx *", WindowTextOf(form->GetHandle()));
}

TEST_F(DocumentTest, FileNameMayBeSetFromItself) {
  CMainForm* form = MakeMainForm();
  form->SetFileName(L"C:\\robots\\a.vlkx");
  form->SetFileName(form->GetFileName());
  EXPECT_STREQ(L"C:\\robots\\a.vlkx", form->GetFileName());
  form->SetFileName(nullptr);
  EXPECT_EQ(nullptr, form->GetFileName());
}

TEST_F(DocumentTest, UnquotedPathWithBlanksIsCutAndOpensNothing) {
  TempFolder folder;
  std::wstring path = folder.File(L"my robot.vlkx");
  WriteSample(path);
  CMainForm* form = MakeMainForm();
  // The rest of the path is the second token, a device list, which has no
  // document to go into.
  velktest::DialogAnswerer answers(IDOK);
  form->OpenCommandLineFiles(path.c_str());
  EXPECT_TRUE(LiveEditors().empty());
  EXPECT_EQ(nullptr, form->GetFileName());
  EXPECT_EQ(kCaption, WindowTextOf(form->GetHandle()));
  ASSERT_EQ(1, answers.Count());
  EXPECT_EQ(kVelkNoDocumentForDevicesMessage, answers.Texts()[0]);
  EXPECT_EQ(0, form->GetScheme()->BlockCount());
}

TEST_F(DocumentTest, OtherExtensionsAndEmptyLinesOpenNothing) {
  TempFolder folder;
  std::wstring text = folder.File(L"notes.txt");
  ASSERT_TRUE(folder.WriteFile(L"notes.txt", "SPH1"));
  for (std::wstring line : {std::wstring(L""), std::wstring(L"   "), L"\"" + text + L"\"", std::wstring(L"robot.vlk")}) {
    CMainForm* form = MakeMainForm();
    form->OpenCommandLineFiles(line.c_str());
    EXPECT_TRUE(LiveEditors().empty());
    EXPECT_EQ(nullptr, form->GetFileName());
    ClearAll();
  }
}

TEST_F(DocumentTest, ModelFileOpensTheRobotSchemeInAnyCase) {
  TempFolder folder;
  ProgramFolders folders = AppFolders();
  folders.robots = folder.Path();
  SetAppFolders(folders);
  WriteSample(folder.File(L"rover.vlkx"));
  const wchar_t* models[] = {L"D:\\max\\rover.max", L"D:\\max\\rover.MAX", L"D:\\max\\rover.mAx"};
  for (const wchar_t* model : models) {
    CMainForm* form = MakeMainForm();
    std::wstring line = std::wstring(L"\"") + model + L"\"";
    form->OpenCommandLineFiles(line.c_str());
    EXPECT_STREQ(folder.File(L"rover.vlkx").c_str(), form->GetFileName());
    ASSERT_NE(nullptr, OnlyEditor());
    EXPECT_EQ(5, form->GetScheme()->BlockCount());
    ClearAll();
  }
}

TEST_F(DocumentTest, MissingRobotSchemeStartsEmpty) {
  TempFolder folder;
  ProgramFolders folders = AppFolders();
  folders.robots = folder.Path() + L"Robots\\";
  SetAppFolders(folders);
  CMainForm* form = MakeMainForm();
  form->OpenCommandLineFiles(L"D:\\max\\walker.max");
  EXPECT_STREQ((folder.Path() + L"Robots\\walker.vlkx").c_str(), form->GetFileName());
  ASSERT_NE(nullptr, OnlyEditor());
  EXPECT_EQ(0, form->GetScheme()->BlockCount());
  // The model becomes the linked model of the new document.
  ASSERT_NE(nullptr, GetModelPath());
  EXPECT_STREQ(L"D:\\max\\walker.max", GetModelPath());
  EXPECT_EQ(ComputeModelPathChecksum(L"D:\\max\\walker.max"), GetModelPathCheck());
}

TEST_F(DocumentTest, MissingDocumentIsCreatedByTheFirstSaveAndBackedUpByTheSecond) {
  TempFolder folder;
  std::wstring path = folder.File(L"new.vlkx");
  std::wstring backup = folder.File(L"new.~vlkx");
  CMainForm* form = MakeMainForm();
  CSphEditor* returned = form->OpenScheme(path.c_str());
  CSphEditor* editor = OnlyEditor();
  ASSERT_NE(nullptr, editor);
  EXPECT_EQ(editor, returned);
  EXPECT_TRUE(editor->IsMainScheme());
  ASSERT_NE(nullptr, form->GetScheme());
  EXPECT_EQ(0, form->GetScheme()->BlockCount());
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(std::wstring(kCaption) + L" - new.vlkx", WindowTextOf(form->GetHandle()));

  DialogAnswerer answer(IDOK);
  SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
  form->SaveScheme();
  EXPECT_EQ(0, answer.Count());
  EXPECT_FALSE(form->IsModified());
  EXPECT_TRUE(Exists(path));
  EXPECT_FALSE(Exists(backup));
  std::vector<uint8_t> first = folder.ReadFile(L"new.vlkx");
  EXPECT_TRUE(velktest::BytesEqual(first, apptest::StreamBytes(form->GetScheme())));

  apptest::SampleScheme sample(form->GetScheme());
  SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
  form->SaveScheme();
  EXPECT_EQ(0, answer.Count());
  EXPECT_FALSE(form->IsModified());
  EXPECT_TRUE(velktest::BytesEqual(folder.ReadFile(L"new.~vlkx"), first));
  EXPECT_TRUE(velktest::BytesEqual(folder.ReadFile(L"new.vlkx"), apptest::StreamBytes(form->GetScheme())));

  // The saved file opens again with everything in it.
  SchScheme check;
  ASSERT_TRUE(ReadSchemeFile(path.c_str(), &check));
  EXPECT_EQ(5, check.BlockCount());
  EXPECT_EQ(3, check.WireCount());
}

TEST_F(DocumentTest, CorruptDocumentShowsTheMessageAndSaveRefuses) {
  TempFolder folder;
  std::wstring path = folder.File(L"bad.vlkx");
  ASSERT_TRUE(folder.WriteFile(L"bad.vlkx", std::string("SPH1\xFF\xFF\xFF\x7F garbage", 17)));
  std::vector<uint8_t> before = folder.ReadFile(L"bad.vlkx");
  CMainForm* form = MakeMainForm();
  DialogAnswerer answer(IDOK);
  EXPECT_EQ(nullptr, form->OpenScheme(path.c_str()));
  ASSERT_NO_FATAL_FAILURE(ExpectOpenFailed(form, answer));
  EXPECT_EQ(L"Ошибка", answer.Captions()[0]);
  EXPECT_EQ(std::wstring(kCaption) + L" - bad.vlkx", WindowTextOf(form->GetHandle()));

  ASSERT_NO_FATAL_FAILURE(ExpectSaveRefused(form, answer));
  EXPECT_TRUE(velktest::BytesEqual(folder.ReadFile(L"bad.vlkx"), before));
  EXPECT_FALSE(Exists(folder.File(L"bad.~vlkx")));
}

TEST_F(DocumentTest, EveryTruncationOfADocumentFailsCleanly) {
  TempFolder folder;
  std::vector<uint8_t> bytes = WriteSample(folder.File(L"whole.vlkx"));
  ASSERT_GT(bytes.size(), 8u);
  for (size_t n = 0; n < bytes.size(); n++) {
    ASSERT_TRUE(folder.WriteFile(L"cut.vlkx", bytes.data(), n));
    SchScheme scheme;
    EXPECT_FALSE(ReadSchemeFile(folder.File(L"cut.vlkx").c_str(), &scheme)) << "length " << n;
    EXPECT_EQ(0, scheme.BlockCount()) << "length " << n;
  }
  SchScheme whole;
  EXPECT_TRUE(ReadSchemeFile(folder.File(L"whole.vlkx").c_str(), &whole));
}

TEST_F(DocumentTest, ReadOnlyDocumentIsNotOpenedNorOverwritten) {
  TempFolder folder;
  std::wstring path = folder.File(L"locked.vlkx");
  std::vector<uint8_t> bytes = WriteSample(path);
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  CMainForm* form = MakeMainForm();
  DialogAnswerer answer(IDOK);
  form->OpenCommandLineFiles((L"\"" + path + L"\"").c_str());
  ASSERT_NO_FATAL_FAILURE(ExpectOpenFailed(form, answer));

  ASSERT_NO_FATAL_FAILURE(ExpectSaveRefused(form, answer));
  EXPECT_TRUE(velktest::BytesEqual(velktest::ReadWholeFile(path), bytes));
  EXPECT_FALSE(Exists(folder.File(L"locked.~vlkx")));
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DocumentTest, LockedDocumentIsNotOpenedAndSaveLeavesItAlone) {
  TempFolder folder;
  std::wstring path = folder.File(L"busy.vlkx");
  std::vector<uint8_t> bytes = WriteSample(path);
  // Another program holds the file open and lets nobody else in.
  HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);
  CMainForm* form = MakeMainForm();
  DialogAnswerer answer(IDOK);
  EXPECT_EQ(nullptr, form->OpenScheme(path.c_str()));
  ASSERT_NO_FATAL_FAILURE(ExpectOpenFailed(form, answer));
  ASSERT_NO_FATAL_FAILURE(ExpectSaveRefused(form, answer));
  CloseHandle(lock);
  EXPECT_TRUE(velktest::BytesEqual(velktest::ReadWholeFile(path), bytes));
}

TEST_F(DocumentTest, FolderInPlaceOfTheDocumentIsNotADocument) {
  TempFolder folder;
  std::wstring path = folder.File(L"folder.vlkx");
  ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
  CMainForm* form = MakeMainForm();
  DialogAnswerer answer(IDOK);
  EXPECT_EQ(nullptr, form->OpenScheme(path.c_str()));
  ASSERT_NO_FATAL_FAILURE(ExpectOpenFailed(form, answer));
  RemoveDirectoryW(path.c_str());
}

TEST_F(DocumentTest, SaveOverAFileMadeReadOnlyKeepsItAndStaysModified) {
  TempFolder folder;
  std::wstring path = folder.File(L"robot.vlkx");
  std::vector<uint8_t> bytes;
  CMainForm* form = OpenWrittenSample(path, &bytes);
  ASSERT_NE(nullptr, form->GetScheme());
  Place(form->GetScheme(), "GND", 10, 10);
  SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));

  DialogAnswerer answer(IDOK);
  form->SaveScheme();
  ASSERT_EQ(1, answer.Count());
  EXPECT_EQ(L"Ошибка", answer.Captions()[0]);
  EXPECT_TRUE(form->IsModified());
  EXPECT_EQ(std::wstring(kCaption) + L" - robot.vlkx *", WindowTextOf(form->GetHandle()));
  EXPECT_TRUE(velktest::BytesEqual(velktest::ReadWholeFile(path), bytes));
  EXPECT_FALSE(Exists(folder.File(L"robot.~vlkx")));
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DocumentTest, SaveIntoAMissingFolderFailsAndStaysModified) {
  TempFolder folder;
  std::wstring path = folder.File(L"gone\\robot.vlkx");
  CMainForm* form = MakeMainForm();
  ASSERT_NE(nullptr, form->OpenScheme(path.c_str()));
  apptest::SampleScheme sample(form->GetScheme());
  SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);

  DialogAnswerer answer(IDOK);
  form->SaveScheme();
  ASSERT_EQ(1, answer.Count());
  EXPECT_EQ(L"Критическая ошибка сохранения", answer.Captions()[0]);
  EXPECT_NE(std::wstring::npos, answer.Texts()[0].find(L"поврежденым"));
  EXPECT_TRUE(form->IsModified());
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(5, form->GetScheme()->BlockCount());
}

TEST_F(DocumentTest, SaveThatDoesNotReadBackPutsTheBackupBack) {
  TempFolder folder;
  std::wstring path = folder.File(L"robot.vlkx");
  std::vector<uint8_t> bytes;
  CMainForm* form = OpenWrittenSample(path, &bytes);
  ASSERT_NE(nullptr, form->GetScheme());
  SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
  std::wstring backup = folder.File(L"robot.~vlkx");

  // The written file does not read back: a block whose class the registry
  // no longer creates cannot be read from it.
  g_schClassRegistry.SetCreator("GND", nullptr);
  DialogAnswerer answer(IDOK);
  form->SaveScheme();
  // The reader names the class it cannot make, then the save reports.
  ASSERT_EQ(2, answer.Count());
  EXPECT_NE(std::wstring::npos, answer.Texts()[0].find(L"GND"));
  EXPECT_EQ(L"Критическая ошибка сохранения", answer.Captions()[1]);
  EXPECT_NE(std::wstring::npos, answer.Texts()[1].find(L"восстановить предыдущую версию"));
  EXPECT_TRUE(form->IsModified());
  EXPECT_TRUE(velktest::BytesEqual(velktest::ReadWholeFile(path), bytes));
  EXPECT_FALSE(Exists(backup));
}

TEST_F(DocumentTest, SavingAnUnchangedDocumentWritesTheSameBytes) {
  TempFolder folder;
  std::wstring path = folder.File(L"robot.vlkx");
  std::vector<uint8_t> bytes;
  CMainForm* form = OpenWrittenSample(path, &bytes);
  DialogAnswerer answer(IDOK);
  form->SaveScheme();
  EXPECT_EQ(0, answer.Count());
  EXPECT_TRUE(velktest::BytesEqual(velktest::ReadWholeFile(path), bytes));
  EXPECT_TRUE(velktest::BytesEqual(folder.ReadFile(L"robot.~vlkx"), bytes));
}

// ---------------------------------------------------------------- File > Open

std::wstring g_dialogPath;
int g_dialogCalls = 0;
BOOL FakeOpenFileName(OPENFILENAMEW* info) {
  g_dialogCalls++;
  if (g_dialogPath.empty()) return FALSE;
  wcsncpy(info->lpstrFile, g_dialogPath.c_str(), info->nMaxFile - 1);
  info->lpstrFile[info->nMaxFile - 1] = 0;
  return TRUE;
}

struct ShellCall {
  std::wstring file, parameters;
};
std::vector<ShellCall> g_shellCalls;
HINSTANCE WINAPI FakeShellExecute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR parameters, LPCWSTR, INT) {
  g_shellCalls.push_back({file ? file : L"", parameters ? parameters : L""});
  return reinterpret_cast<HINSTANCE>(42);
}

class OpenCommandTest : public DocumentTest {
protected:
  void SetUp() override {
    DocumentTest::SetUp();
    g_dialogPath.clear();
    g_dialogCalls = 0;
    g_shellCalls.clear();
    seam_ = KestCommonDialogSeam{FakeOpenFileName, nullptr, nullptr, nullptr};
    SetCommonDialogSeam(&seam_);
    host_.start = FakeShellExecute;
  }
  void TearDown() override {
    SetCommonDialogSeam(nullptr);
    DocumentTest::TearDown();
  }
  void Open(CMainForm* form) { SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_FILE_OPEN, 0), 0); }
  KestCommonDialogSeam seam_;
};

TEST_F(OpenCommandTest, CancelledDialogChangesNothing) {
  CMainForm* form = MakeMainForm();
  Open(form);
  EXPECT_EQ(1, g_dialogCalls);
  EXPECT_TRUE(g_shellCalls.empty());
  EXPECT_EQ(nullptr, form->GetFileName());
}

TEST_F(OpenCommandTest, WithADocumentShownASecondProcessOpensTheFile) {
  TempFolder folder;
  WriteSample(folder.File(L"a.vlkx"));
  WriteSample(folder.File(L"b c.vlkx"));
  CMainForm* form = MakeMainForm();
  form->OpenScheme(folder.File(L"a.vlkx").c_str());
  SchScheme* shown = form->GetScheme();
  g_dialogPath = folder.File(L"b c.vlkx");
  Open(form);
  ASSERT_EQ(1u, g_shellCalls.size());
  wchar_t module[kFoundationMaxPathChars];
  GetModulePath(module);
  EXPECT_EQ(module, g_shellCalls[0].file);
  EXPECT_EQ(L"\"" + g_dialogPath + L"\"", g_shellCalls[0].parameters);
  EXPECT_EQ(shown, form->GetScheme());
  EXPECT_STREQ(folder.File(L"a.vlkx").c_str(), form->GetFileName());
}

TEST_F(OpenCommandTest, WithoutAnEditorTheFileOpensHere) {
  TempFolder folder;
  WriteSample(folder.File(L"robot.vlkx"));
  CMainForm* form = MakeMainForm();
  g_dialogPath = folder.File(L"robot.vlkx");
  Open(form);
  EXPECT_TRUE(g_shellCalls.empty());
  ASSERT_NE(nullptr, OnlyEditor());
  EXPECT_EQ(5, form->GetScheme()->BlockCount());
  EXPECT_STREQ(g_dialogPath.c_str(), form->GetFileName());
}

TEST_F(OpenCommandTest, ModifiedDocumentIsOfferedForSavingFirst) {
  TempFolder folder;
  WriteSample(folder.File(L"other.vlkx"));
  CMainForm* form = MakeMainForm();
  SchScheme* before = form->GetScheme();
  Place(before, "GND", 0, 0);
  SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
  g_dialogPath = folder.File(L"other.vlkx");
  {
    // Cancel keeps everything.
    DialogAnswerer answer(IDCANCEL);
    Open(form);
    ASSERT_EQ(1, answer.Count());
    EXPECT_EQ(L"Схема не сохранена. Сохранить?", answer.Texts()[0]);
    EXPECT_EQ(before, form->GetScheme());
    EXPECT_TRUE(form->IsModified());
    EXPECT_TRUE(LiveEditors().empty());
  }
  {
    // No discards the changes and opens the chosen file.
    DialogAnswerer answer(IDNO);
    Open(form);
    ASSERT_EQ(1, answer.Count());
    EXPECT_FALSE(form->IsModified());
    ASSERT_NE(nullptr, OnlyEditor());
    EXPECT_EQ(5, form->GetScheme()->BlockCount());
  }
}

// ---------------------------------------------------------------- control panel

TEST_F(DocumentTest, DeletingTheControlPanelClosesTheEditorOfItsScheme) {
  CVelkboardHost host;
  CSchemeHostScope hostScope(&host);
  CMainForm* form = MakeMainForm();
  TempFolder folder;
  form->OpenScheme(folder.File(L"panel.vlkx").c_str());
  CSphEditor* main = OnlyEditor();
  ASSERT_NE(nullptr, main);
  CSCHBlock* pult = Place(form->GetScheme(), "PULT", 100, 100);
  ASSERT_NE(nullptr, pult);
  EXPECT_STREQ(kVelkControlPanelName, pult->instanceName);
  ASSERT_NE(nullptr, pult->nestedScheme);
  EXPECT_EQ(1, pult->nestedScheme->BlockCount());
  EXPECT_STREQ("PultComputer", pult->nestedScheme->blocks->className);

  EXPECT_FALSE(pult->Edit());
  ASSERT_EQ(2u, LiveEditors().size());
  CSphEditor* panelEditor = LiveEditors()[1];
  EXPECT_EQ(CSphEditor::kEditorPanel, panelEditor->GetMode());
  EXPECT_EQ(pult->nestedScheme, panelEditor->GetScheme());
  EXPECT_EQ(L"Схема пульта управления", WindowTextOf(panelEditor->GetHandle()));
  EXPECT_FALSE(panelEditor->IsMainScheme());

  pult->flags |= kSchSelected;
  main->GetSchemeView()->DeleteSelection();
  EXPECT_EQ(0, form->GetScheme()->BlockCount());
  // The editor let go of the freed scheme at once and is gone once
  // messages flow.
  EXPECT_EQ(nullptr, panelEditor->GetScheme());
  EXPECT_EQ(nullptr, panelEditor->GetSchemeView()->GetScheme());
  UpdateWindow(panelEditor->GetHandle());
  velktest::FlushEvents();
  EXPECT_EQ(1u, LiveEditors().size());
  EXPECT_TRUE(form->IsModified());
}

// Records the simulation calls it gets.
class Stepper : public CSCHBlock {
public:
  void Start() override { calls.push_back(L"start"); }
  void Step(float dt) override { calls.push_back(L"step " + std::to_wstring(static_cast<int>(dt * 1000))); }
  void Stop() override { calls.push_back(L"stop"); }
  std::vector<std::wstring> calls;
};

TEST_F(DocumentTest, ControlPanelRunsItsNestedScheme) {
  SchScheme scheme;
  CSCHBlock* pult = Place(&scheme, "PULT", 0, 0);
  ASSERT_NE(nullptr, pult);
  Stepper* inner = new Stepper;
  inner->Attach(pult->nestedScheme);
  scheme.BuildNets();
  scheme.StartSimulation();
  EXPECT_EQ(1, pult->nestedScheme->running);
  scheme.StepSimulation(0.25f);
  scheme.StepSimulation(0.5f);
  scheme.StopSimulation();
  EXPECT_EQ(0, pult->nestedScheme->running);
  EXPECT_EQ((std::vector<std::wstring>{L"start", L"step 250", L"step 500", L"stop"}), inner->calls);
}

TEST_F(DocumentTest, ControlPanelRoundTripsWithItsNestedScheme) {
  SchScheme scheme;
  CSCHBlock* pult = Place(&scheme, "PULT", 40, 50);
  ASSERT_NE(nullptr, pult);
  Place(pult->nestedScheme, "GND", 5, 5);
  std::vector<uint8_t> bytes = apptest::StreamBytes(&scheme);
  CMemoryStream stream;
  stream.Write(bytes.data(), static_cast<int>(bytes.size()));
  stream.Seek(0, 0);
  SchScheme copy;
  ASSERT_TRUE(copy.Read(&stream, 0));
  ASSERT_EQ(1, copy.BlockCount());
  CSCHBlock* read = copy.blocks;
  EXPECT_STREQ("PULT", read->className);
  EXPECT_STREQ(kVelkControlPanelName, read->instanceName);
  EXPECT_EQ(pult->rect.left, read->rect.left);
  ASSERT_NE(nullptr, read->nestedScheme);
  EXPECT_EQ(2, read->nestedScheme->BlockCount());
  EXPECT_TRUE(velktest::BytesEqual(apptest::StreamBytes(&copy), bytes));
}

}  // namespace
