#include "app/shell/startup.h"

#include <string>
#include <vector>

#include "app/test_host.h"
#include "foundation/paths.h"
#include "support/test_support.h"

namespace {

TEST(ProgramFolders, EveryFolderHangsOffTheProgramFolder) {
  struct Case {
    const wchar_t* module;
    const wchar_t* program;
  } cases[] = {
      {L"C:\\Velk\\Velkboard.exe", L"C:\\Velk\\"},
      {L"C:/Velk/Velkboard.exe", L"C:/Velk/"},
      {L"C:|Velk|Velkboard.exe", L"C:|Velk|"},
      {L"C:\\a/b|Velkboard.exe", L"C:\\a/b|"},
      {L"Velkboard.exe", L""},
  };
  for (const Case& c : cases) {
    ProgramFolders f = ComputeProgramFolders(c.module);
    std::wstring p = c.program;
    EXPECT_EQ(p, f.program);
    EXPECT_EQ(p + L"schemeIcons\\", f.schemeIcons);
    EXPECT_EQ(p + L"VelkDB\\", f.componentDb);
    EXPECT_EQ(p + L"VelkDB\\images\\", f.images);
    EXPECT_EQ(p + L"Plugins\\", f.plugins);
    EXPECT_EQ(p + L"Torvalk5.chm", f.helpFile);
    EXPECT_EQ(p + L"Robots\\", f.robots);
  }
}

TEST(CommandLine, ProgramNameAndRegisterSwitch) {
  EXPECT_STREQ(L"a.vlkx", SkipProgramName(L"\"C:\\Program Files\\V\\Velkboard.exe\" a.vlkx"));
  EXPECT_STREQ(L"-register", SkipProgramName(L"Velkboard.exe   -register"));
  EXPECT_STREQ(L"", SkipProgramName(L"Velkboard.exe"));
  EXPECT_STREQ(L"", SkipProgramName(nullptr));
  EXPECT_STREQ(L"\"Схема.vlkx\"", SkipProgramName(L"\"V.exe\" \"Схема.vlkx\""));

  EXPECT_TRUE(IsRegisterCommand(L"-register"));
  EXPECT_TRUE(IsRegisterCommand(L"-register now"));
  EXPECT_FALSE(IsRegisterCommand(L"a.vlkx -register"));
  EXPECT_FALSE(IsRegisterCommand(L" -register"));
  EXPECT_FALSE(IsRegisterCommand(L"-regist"));
  EXPECT_FALSE(IsRegisterCommand(nullptr));
}

TEST(Update, MarkerParametersAndUpdaterPath) {
  EXPECT_EQ(L"C:\\V\\Velkboard.ex_", UpdateMarkerPath(L"C:\\V\\Velkboard.exe"));
  EXPECT_EQ(L"\"C:\\V\\Velkboard.exe\" a b", UpdateParameters(L"C:\\V\\Velkboard.exe", L"a b"));
  EXPECT_EQ(L"C:\\V\\update.exe", SiblingPath(L"C:\\V\\Velkboard.exe", L"update.exe"));
  EXPECT_EQ(L"C:\\V\\3dsplugin\\install.exe", SiblingPath(L"C:\\V\\Velkboard.exe", L"3dsplugin\\install.exe"));
  // A command line far longer than a path is handed over whole.
  std::wstring longLine(5000, L'x');
  std::wstring params = UpdateParameters(L"C:\\V\\Velkboard.exe", longLine.c_str());
  EXPECT_EQ(std::wstring(L"\"C:\\V\\Velkboard.exe\" ") + longLine, params);
}

// Records the calls to the outside-program starter.
struct ShellCall {
  std::wstring file, params;
};
std::vector<ShellCall> g_calls;
INT_PTR g_shellResult = 42;

HINSTANCE WINAPI FakeShellExecute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR params, LPCWSTR, INT) {
  g_calls.push_back({file ? file : L"", params ? params : L""});
  return reinterpret_cast<HINSTANCE>(g_shellResult);
}

class OutsideProgramsTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_calls.clear();
    host_.start = FakeShellExecute;
    wchar_t path[kFoundationMaxPathChars];
    GetModulePath(path);
    module_ = path;
    marker_ = UpdateMarkerPath(path);
  }
  void TearDown() override { DeleteFileW(marker_.c_str()); }
  apptest::TestHost host_;
  CKestHostScope hostScope_{&host_};
  std::wstring module_, marker_;
};

TEST_F(OutsideProgramsTest, NoMarkerNoUpdate) {
  DeleteFileW(marker_.c_str());
  EXPECT_FALSE(IsUpdatePending());
  EXPECT_FALSE(RunPendingUpdate(L"x.vlkx"));
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(OutsideProgramsTest, PendingUpdateStartsTheUpdater) {
  HANDLE f = CreateFileW(marker_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, f);
  CloseHandle(f);
  EXPECT_TRUE(IsUpdatePending());
  g_shellResult = 33;
  EXPECT_TRUE(RunPendingUpdate(L"\"Робот.vlkx\" dev.bin"));
  ASSERT_EQ(1u, g_calls.size());
  EXPECT_EQ(SiblingPath(module_.c_str(), L"update.exe"), g_calls[0].file);
  EXPECT_EQ(L"\"" + module_ + L"\" \"Робот.vlkx\" dev.bin", g_calls[0].params);
}

TEST_F(OutsideProgramsTest, UpdaterThatCannotStartIsReported) {
  HANDLE f = CreateFileW(marker_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, f);
  CloseHandle(f);
  for (INT_PTR result : {INT_PTR(2), INT_PTR(32)}) {
    g_shellResult = result;
    velktest::DialogAnswerer answer(IDOK);
    EXPECT_FALSE(RunPendingUpdate(L""));
    ASSERT_EQ(1, answer.Count());
    EXPECT_EQ(L"Ошибка", answer.Captions()[0]);
    EXPECT_EQ(L"Невозможно запустить update.exe для обновления EXE-файла приложения", answer.Texts()[0]);
  }
}

TEST_F(OutsideProgramsTest, PluginInstaller) {
  struct Case {
    INT_PTR result;
    int messages;
  } cases[] = {{33, 0}, {32, 1}, {0, 1}};
  for (const Case& c : cases) {
    g_calls.clear();
    g_shellResult = c.result;
    velktest::DialogAnswerer answer(IDOK);
    RunMaxPluginInstaller();
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ(SiblingPath(module_.c_str(), L"3dsplugin\\install.exe"), g_calls[0].file);
    ASSERT_EQ(c.messages, answer.Count()) << c.result;
    if (c.messages) {
      EXPECT_EQ(L"Не удалось запустить инсталлятор плагина для 3D Studio MAX!", answer.Texts()[0]);
    }
  }
}

std::wstring ReadDefault(const wchar_t* keyPath, DWORD* bytes) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<missing>";
  wchar_t value[1024] = {};
  DWORD type = 0, size = sizeof value;
  LONG rc = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return L"<bad>";
  *bytes = size;
  return value;
}

TEST(FileAssociation, WritesTheThreeValues) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Torvalk5.Electric");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L".vlkx");
  ASSERT_TRUE(RegisterSchemeFileType());
  wchar_t path[kFoundationMaxPathChars];
  GetModulePath(path);
  std::wstring module = path;
  DWORD bytes = 0;
  EXPECT_EQ(L"Torvalk5.Electric", ReadDefault(L".vlkx", &bytes));
  EXPECT_EQ(2u * (17 + 1), bytes);
  std::wstring icon = ReadDefault(L"Torvalk5.Electric\\DefaultIcon", &bytes);
  EXPECT_EQ(L"\"" + module + L"\", -184", icon);
  EXPECT_EQ(2 * (icon.size() + 1), bytes);
  EXPECT_EQ(L"\"" + module + L"\" \"%1\"", ReadDefault(L"Torvalk5.Electric\\shell\\open\\command", &bytes));
  // Written again on every start.
  EXPECT_TRUE(RegisterSchemeFileType());
}

TEST(ClipboardFormats, RegisteredInOrder) {
  RegisterClipboardFormats();
  wchar_t name[64];
  struct Case {
    UINT format;
    const wchar_t* name;
  } cases[] = {{ClipboardFormatVelkUi(), L"VELK_UI"}, {ClipboardFormatBe5(), L"BE5"},
               {ClipboardFormatVelkPcb(), L"VELK_PCB"}};
  for (const Case& c : cases) {
    ASSERT_GE(c.format, 0xC000u);
    ASSERT_GT(GetClipboardFormatNameW(c.format, name, 64), 0);
    EXPECT_STREQ(c.name, name);
  }
  EXPECT_LT(ClipboardFormatVelkUi(), ClipboardFormatBe5());
  EXPECT_LT(ClipboardFormatBe5(), ClipboardFormatVelkPcb());
}

}  // namespace
