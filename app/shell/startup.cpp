#include "app/shell/startup.h"

#include <shellapi.h>

#include <cwchar>

#include "blocks/engine/plugin/plugin_list.h"
#include "foundation/paths.h"
#include "kestui/core/kest_host.h"
#include "scheme/database/compdb.h"
#include "scheme/model/scheme_icons.h"

namespace {
HINSTANCE g_instance = nullptr;
ProgramFolders g_folders;
UINT g_formatVelkUi = 0, g_formatBe5 = 0, g_formatVelkPcb = 0;

std::wstring ModulePath() {
  wchar_t path[kFoundationMaxPathChars];
  GetModulePath(path);
  return path;
}

// Sets the default value of a key; REG_SZ stored with its terminator.
bool SetDefaultValue(HKEY key, const std::wstring& value) {
  return RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(2 * (value.size() + 1))) == ERROR_SUCCESS;
}

bool CreateKey(HKEY parent, const wchar_t* name, HKEY* key) {
  return RegCreateKeyExW(parent, name, 0, nullptr, 0, KEY_WRITE, nullptr, key, nullptr) == ERROR_SUCCESS;
}
}  // namespace

ProgramFolders ComputeProgramFolders(const wchar_t* modulePath) {
  ProgramFolders f;
  std::wstring path = modulePath ? modulePath : L"";
  size_t cut = 0;
  for (size_t i = path.size(); i > 0; --i) {
    if (IsPathSeparator(path[i - 1])) {
      cut = i;
      break;
    }
  }
  f.program = path.substr(0, cut);
  f.schemeIcons = f.program + L"schemeIcons\\";
  f.componentDb = f.program + L"VelkDB\\";
  f.images = f.componentDb + L"images\\";
  f.plugins = f.program + L"Plugins\\";
  f.helpFile = f.program + L"Torvalk5.chm";
  f.robots = f.program + L"Robots\\";
  return f;
}

const ProgramFolders& AppFolders() { return g_folders; }
void SetAppFolders(const ProgramFolders& folders) { g_folders = folders; }

HINSTANCE AppInstance() { return g_instance; }
void SetAppInstance(HINSTANCE instance) { g_instance = instance; }

const wchar_t* SkipProgramName(const wchar_t* commandLine) {
  if (!commandLine) return L"";
  const wchar_t* p = commandLine;
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p == L'"') ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

bool IsRegisterCommand(const wchar_t* commandLine) {
  return commandLine && wcsncmp(commandLine, L"-register", 9) == 0;
}

std::wstring UpdateMarkerPath(const wchar_t* modulePath) {
  std::wstring marker = modulePath ? modulePath : L"";
  if (!marker.empty()) marker.back() = L'_';
  return marker;
}

std::wstring UpdateParameters(const wchar_t* modulePath, const wchar_t* commandLine) {
  // Built to the full length of both: a command line can be far longer than
  // a path.
  std::wstring params = L"\"";
  params += modulePath ? modulePath : L"";
  params += L"\" ";
  params += commandLine ? commandLine : L"";
  return params;
}

std::wstring SiblingPath(const wchar_t* modulePath, const wchar_t* fileName) {
  std::wstring path = modulePath ? modulePath : L"";
  size_t slash = path.rfind(L'\\');
  path.erase(slash == std::wstring::npos ? 0 : slash + 1);
  return path + fileName;
}

bool IsUpdatePending() {
  std::wstring marker = UpdateMarkerPath(ModulePath().c_str());
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(marker.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

bool RunPendingUpdate(const wchar_t* commandLine) {
  if (!IsUpdatePending()) return false;
  std::wstring module = ModulePath();
  std::wstring params = UpdateParameters(module.c_str(), commandLine);
  std::wstring updater = SiblingPath(module.c_str(), L"update.exe");
  HINSTANCE result = GetKestHost()->StartProgram(nullptr, nullptr, updater.c_str(), params.c_str(), nullptr, SW_SHOW);
  if (reinterpret_cast<INT_PTR>(result) > 32) return true;
  MessageBoxW(nullptr, L"Невозможно запустить update.exe для обновления EXE-файла приложения", L"Ошибка",
              MB_OK | MB_ICONERROR);
  return false;
}

bool RegisterSchemeFileType() {
  std::wstring module = ModulePath();
  wchar_t icon[16];
  swprintf(icon, 16, L"%d", kVelkDocumentIconRef);
  std::wstring iconValue = L"\"" + module + L"\", " + icon;
  std::wstring commandValue = L"\"" + module + L"\" \"%1\"";

  HKEY ext;
  if (!CreateKey(HKEY_CLASSES_ROOT, L".vlkx", &ext)) return false;
  bool ok = SetDefaultValue(ext, L"Torvalk5.Electric");
  RegCloseKey(ext);
  if (!ok) return false;

  HKEY type;
  if (!CreateKey(HKEY_CLASSES_ROOT, L"Torvalk5.Electric", &type)) return false;
  HKEY key;
  ok = CreateKey(type, L"DefaultIcon", &key);
  if (ok) {
    ok = SetDefaultValue(key, iconValue);
    RegCloseKey(key);
  }
  HKEY shell = nullptr, open = nullptr, command = nullptr;
  ok = ok && CreateKey(type, L"shell", &shell);
  ok = ok && CreateKey(shell, L"open", &open);
  ok = ok && CreateKey(open, L"command", &command);
  ok = ok && SetDefaultValue(command, commandValue);
  if (command) RegCloseKey(command);
  if (open) RegCloseKey(open);
  if (shell) RegCloseKey(shell);
  RegCloseKey(type);
  return ok;
}

void RunMaxPluginInstaller() {
  std::wstring installer = SiblingPath(ModulePath().c_str(), L"3dsplugin\\install.exe");
  HINSTANCE result = GetKestHost()->StartProgram(nullptr, nullptr, installer.c_str(), nullptr, nullptr, SW_SHOW);
  // Every result of 32 and below is a failure, as for the updater.
  if (reinterpret_cast<INT_PTR>(result) <= 32)
    MessageBoxW(nullptr, L"Не удалось запустить инсталлятор плагина для 3D Studio MAX!", L"Ошибка", MB_OK);
}

void RegisterClipboardFormats() {
  g_formatVelkUi = RegisterClipboardFormatW(L"VELK_UI");
  g_formatBe5 = RegisterClipboardFormatW(L"BE5");
  g_formatVelkPcb = RegisterClipboardFormatW(L"VELK_PCB");
}

UINT ClipboardFormatVelkUi() { return g_formatVelkUi; }
UINT ClipboardFormatBe5() { return g_formatBe5; }
UINT ClipboardFormatVelkPcb() { return g_formatVelkPcb; }


void InitProgramFolders() {
  ProgramFolders folders = ComputeProgramFolders(ModulePath().c_str());
  SetAppFolders(folders);
  SetSchemeIconsFolder(folders.schemeIcons.c_str());
  SetComponentDbFolder(folders.componentDb.c_str());
  SetImagesFolder(folders.images.c_str());
  ProgramPluginList().SetFolder(folders.plugins.c_str());
}
