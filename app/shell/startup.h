// Start-up of Velkboard: the program folders, the pending update, the file
// association, the 3ds Max plug-in installer and the clipboard formats.
#pragma once

#include <windows.h>

#include <string>

// Folders and paths fixed relative to the program file; every folder ends
// with its separator.
struct ProgramFolders {
  std::wstring program;      // the module path cut after its last separator
  std::wstring schemeIcons;  // program + "schemeIcons\"
  std::wstring componentDb;  // program + "VelkDB\"
  std::wstring images;       // componentDb + "images\"
  std::wstring plugins;      // program + "Plugins\"
  std::wstring helpFile;     // program + "Torvalk5.chm"
  std::wstring robots;       // program + "Robots\"
};

// The folders for a program file path; "/", "\" and "|" all end a folder, and
// a path without any gives folders relative to the current directory.
ProgramFolders ComputeProgramFolders(const wchar_t* modulePath);

// The folders of this process, once InitProgramFolders has run.
const ProgramFolders& AppFolders();
void SetAppFolders(const ProgramFolders& folders);

HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);

// The text after the program name of a full command line (GetCommandLineW),
// without the blanks that separate them.
const wchar_t* SkipProgramName(const wchar_t* commandLine);
// True when the command line begins with "-register".
bool IsRegisterCommand(const wchar_t* commandLine);

// The update marker: the module path with its last character replaced by "_".
std::wstring UpdateMarkerPath(const wchar_t* modulePath);
// The updater's parameters: the quoted program path, a blank, the command line.
std::wstring UpdateParameters(const wchar_t* modulePath, const wchar_t* commandLine);
// modulePath with everything after its last "\" replaced by fileName.
std::wstring SiblingPath(const wchar_t* modulePath, const wchar_t* fileName);

bool IsUpdatePending();
// Starts "update.exe" when an update waits; true only when it was started.
bool RunPendingUpdate(const wchar_t* commandLine);
// Writes the ".vlkx" association under HKEY_CLASSES_ROOT; stops at the first
// failing call.
bool RegisterSchemeFileType();
// The icon reference of the document icon in the DefaultIcon value.
const int kVelkDocumentIconRef = -184;
void RunMaxPluginInstaller();

// Registers "VELK_UI", "BE5" and "VELK_PCB", in this order.
void RegisterClipboardFormats();
UINT ClipboardFormatVelkUi();
UINT ClipboardFormatBe5();
UINT ClipboardFormatVelkPcb();

// Computes the program folders from the module path and hands them to
// their users: the scheme icons, the component database and its images, the
// plug-in list; keeps the help file path and the robots folder.
void InitProgramFolders();

// Loads icon 183 as the icon of the framework's window classes.
HICON LoadApplicationIcon(HINSTANCE instance);

// What the start-up decided.
enum class StartDecision {
  kExit,      // handed over to the updater or the plug-in installer
  kMainWindow // go on: create the main window and run the message loop
};
// The start-up steps before the main window, in order: pending update,
// program folders, icon, file association, "-register", clipboard formats,
// panel item kinds, component classes, the block library's creators, plug-in
// scan. commandLine is the text after the program name.
StartDecision PrepareStart(HINSTANCE instance, const wchar_t* commandLine);
// The whole program: PrepareStart, then the main window shown maximised and
// the message loop. Returns the exit code (0; 1 when the main window could
// not be made).
int RunVelkboard(HINSTANCE instance, const wchar_t* commandLine);
