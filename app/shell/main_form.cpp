#include "app/shell/main_form.h"

#include <richedit.h>

#include <cwchar>
#include <string>

#include "app/board/pcb_view.h"
#include "app/editor/command_line.h"
#include "app/editor/scheme_file.h"
#include "app/editor/sph_editor.h"
#include "app/import/device_import.h"
#include "app/resource.h"
#include "app/shell/about_box.h"
#include "app/shell/startup.h"
#include "app/views/scheme_view.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "foundation/paths.h"
#include "kestui/core/kest_host.h"
#include "kestui/core/kest_messages.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/menus/kest_main_menu.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_stream.h"

const wchar_t* const kVelkMainFormCaption = L"Редактор схем и подключений";
const wchar_t* const kVelkNoDocumentForDevicesMessage =
    L"Список устройств не импортирован: не открыт документ схемы.";
const wchar_t* const kVelkUnreadableDeviceListMessage = L"Не удалось прочитать список устройств:";

namespace {

// Positions in the Edit menu and the query that enables each.
struct EditQuery {
  int position;
  UINT query;
};
const EditQuery kEditQueries[] = {
    {0, WM_KEST_CANCOPY},   {1, WM_KEST_CANCUT},       {2, EM_CANPASTE},
    {3, WM_KEST_CANDELETE}, {5, WM_CAN_COPY_PICTURE}, {7, WM_KEST_CANSELECTALL},
};
// "Печать..." in the File menu.
const int kPrintPosition = 4;

// Menu commands and the command each sends to the active child.
struct ForwardedCommand {
  UINT menuId;
  UINT childCommand;
};
const ForwardedCommand kForwardedCommands[] = {
    {ID_KEST_COPY, WM_COPY},         {ID_KEST_CUT, WM_CUT},
    {ID_KEST_PASTE, WM_PASTE},       {ID_KEST_DELETE, WM_CLEAR},
    {ID_KEST_SELECT_ALL, WM_KEST_SELECTALL},
    {ID_KEST_EXPORT_PICTURE, ID_KEST_EXPORT_PICTURE}, {ID_KEST_COPY_PICTURE, ID_KEST_COPY_PICTURE},
    {ID_KEST_PRINT_PICTURE, ID_KEST_PRINT_PICTURE},
};

const wchar_t* const kOpenFilter = L"Файлы Torvalk electric (*.vlkx)|*.vlkx";

void EnableByPosition(HMENU menu, int position, bool enable) {
  EnableMenuItem(menu, static_cast<UINT>(position),
                 MF_BYPOSITION | (enable ? MF_ENABLED : (MF_GRAYED | MF_DISABLED)));
}

const UINT kHelpDisplayTopic = 0;  // HH_DISPLAY_TOPIC

}  // namespace

// ---------------------------------------------------------------------------

CMainForm::CMainForm() {
  scheme_ = new SchScheme;
  HINSTANCE instance = AppInstance() ? AppInstance() : GetModuleHandleW(nullptr);
  SetAccelerators(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS)));
  CKestMainMenu* menu = new CKestMainMenu(IDR_MAIN_MENU);
  if (!Create(nullptr, kVelkMainFormCaption, KEST_POS_FLOW, 800, 500, menu, true, true, true, true)) {
    if (menu->GetRefCount() == 0) delete menu;
    return;
  }
  HMENU bar = menu->GetHandle();
  SetWindowMenu(GetSubMenu(bar, 2));
  fileMenu_ = GetSubMenu(bar, 0);
  editMenu_ = GetSubMenu(bar, 1);
  CreateMDIClient();
}

CMainForm::~CMainForm() {
  FreeBuffer(fileName_);
  fileName_ = nullptr;
  CSphEditor::CloseEditorsOfScheme(scheme_);
  delete scheme_;
  scheme_ = nullptr;
}

void CMainForm::SetFileName(const wchar_t* path) {
  // Copied before the old name goes: path may be the old name itself.
  ReplaceString(&fileName_, path);
}

void CMainForm::UpdateTitle() {
  std::wstring caption = kVelkMainFormCaption;
  if (fileName_) {
    std::wstring name = fileName_;
    for (size_t i = name.size(); i > 0; --i) {
      if (IsPathSeparator(name[i - 1])) {
        name.erase(0, i);
        break;
      }
    }
    if (name.size() > static_cast<size_t>(kVelkTitleNameLength)) {
      name.resize(kVelkTitleNameLength);
      name += L"...";
    }
    caption += L" - ";
    caption += name;
  }
  if (modified_) caption += L" *";
  if (caption.size() > static_cast<size_t>(kVelkTitleMaxLength)) caption.resize(kVelkTitleMaxLength);
  SetCaption(caption.c_str());
}

void CMainForm::UpdateEditMenu() {
  CKestControl* child = GetActiveMDIChild();
  HWND childWindow = child ? child->GetHandle() : nullptr;
  for (const EditQuery& q : kEditQueries) {
    bool possible = childWindow && IsWindow(childWindow) && SendMessageW(childWindow, q.query, 0, 0) != 0;
    EnableByPosition(editMenu_, q.position, possible);
  }
}

void CMainForm::UpdateFileMenu() {
  CKestControl* child = GetActiveMDIChild();
  HWND childWindow = child ? child->GetHandle() : nullptr;
  bool canPrint = childWindow && SendMessageW(childWindow, WM_CAN_COPY_PICTURE, 0, 0) != 0;
  EnableByPosition(fileMenu_, kPrintPosition, canPrint);
}

void CMainForm::ForwardToActiveChild(UINT command) {
  CKestControl* child = GetActiveMDIChild();
  if (child && child->GetHandle()) SendMessageW(child->GetHandle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void CMainForm::ShowAbout() {
  CAboutBox* about = new CAboutBox(this);
  about->ShowModal(false);
}

void CMainForm::ShowHelp() {
  const std::wstring& helpFile = AppFolders().helpFile;
  if (helpFile.empty() || GetFileAttributesW(helpFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::wstring text = L"Не найден файл справки " + helpFile;
    MessageBoxW(window_, text.c_str(), L"Ошибка", MB_OK | MB_ICONERROR);
    return;
  }
  if (!GetKestHost()->OpenHelp(window_, helpFile.c_str(), kHelpDisplayTopic, 0)) {
    MessageBoxW(window_, L"Не удалось открыть справку: не найден компонент HTML Help (hhctrl.ocx)",
                L"Ошибка", MB_OK | MB_ICONERROR);
  }
}

bool CMainForm::ConfirmClose() {
  HWND self = window_;
  while (modified_) {
    int answer = MessageBoxW(self, L"Схема не сохранена. Сохранить?", L"Закрытие",
                             MB_ICONWARNING | MB_YESNOCANCEL);
    if (answer == IDNO) break;
    // A box that could not be shown counts as Cancel: the window stays.
    if (answer != IDYES) return false;
    SaveScheme();
  }
  return true;
}

void CMainForm::SaveScheme() {
  if (!fileName_ || !scheme_) {
    MessageBoxW(window_, L"Необходимо загрузить проект!", L"Ошибка", MB_OK);
    return;
  }
  // A file that exists but cannot be written (read-only, locked) is left
  // alone: nothing is moved or written.
  if (ProbeSchemeFile(fileName_) == SchemeFileAccess::kUnusable) {
    MessageBoxW(window_, L"Невозможно сохранить файл: он защищен от записи или занят другой программой!",
                L"Ошибка", MB_OK | MB_ICONERROR);
    return;
  }
  std::wstring backup = SchemeBackupPath(fileName_);

  bool haveBackup = false;
  for (;;) {
    if (MoveFileExW(fileName_, backup.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      haveBackup = true;
      break;
    }
    DWORD error = GetLastError();
    // No old file (nor its folder): nothing to keep.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) break;
    int answer = MessageBoxW(window_, L"Не удалось создать резервную копию старого файла схемы!",
                             L"Предупреждение", MB_ICONWARNING | MB_ABORTRETRYIGNORE);
    if (answer == IDRETRY) continue;
    if (answer == IDIGNORE) break;
    return;  // Abort (or no answer): nothing is written
  }

  // Written in one piece, then read back from the disk.
  if (!WriteSchemeFile(scheme_, fileName_)) {
    if (haveBackup) {
      MessageBoxW(window_,
                  L"ВНИМАНИЕ! Файл проекта после сохранения оказывается поврежденым! Загрузка из такого "
                  L"файла будет невозможна. Torvalk сейчас восстановить предыдущую версию файла схемы. "
                  L"Рекомендуется перезапустить программу.",
                  L"Критическая ошибка сохранения", MB_OK | MB_ICONERROR);
      MoveFileExW(backup.c_str(), fileName_, MOVEFILE_REPLACE_EXISTING);
    } else {
      MessageBoxW(window_,
                  L"ВНИМАНИЕ! Файл проекта после сохранения оказывается поврежденым! Загрузка из такого "
                  L"файла будет невозможна. Рекомендуется перезапустить программу.",
                  L"Критическая ошибка сохранения", MB_OK | MB_ICONERROR);
    }
    return;
  }
  modified_ = 0;
  UpdateTitle();
}

CSphEditor* CMainForm::OpenScheme(const wchar_t* path) {
  SetFileName(path);
  if (!scheme_) scheme_ = new SchScheme;
  switch (ProbeSchemeFile(path)) {
    case SchemeFileAccess::kMissing: {
      // A new document: the first save creates the file.
      CSphEditor* editor = new CSphEditor(this, scheme_, CSphEditor::kEditorMain, 0, 0);
      editor->SetMainScheme(true);
      UpdateTitle();
      return editor;
    }
    case SchemeFileAccess::kReadWrite:
      if (ReadSchemeFile(path, scheme_)) {
        CSphEditor* editor = new CSphEditor(this, scheme_, CSphEditor::kEditorMain, 0, 0);
        editor->SetMainScheme(true);
        break;
      }
      // The file is not a scheme.
      [[fallthrough]];
    case SchemeFileAccess::kUnusable:
      CSphEditor::CloseEditorsOfScheme(scheme_);
      delete scheme_;
      scheme_ = nullptr;
      MessageBoxW(window_, L"Невозможно загрузить файл!", L"Ошибка", MB_OK);
      break;
  }
  modified_ = 0;
  UpdateTitle();
  return nullptr;
}

void CMainForm::OpenCommandLineFiles(const wchar_t* commandLine) {
  const wchar_t* cursor = commandLine ? commandLine : L"";
  std::wstring first = NextCommandLineToken(&cursor);
  if (first.empty()) return;
  std::wstring extension(static_cast<size_t>(GetFileExtension(nullptr, first.c_str())) + 1, L'\0');
  GetFileExtension(&extension[0], first.c_str());
  extension.resize(wcslen(extension.c_str()));
  if (_wcsicmp(extension.c_str(), L"MAX") == 0) {
    SetModelPath(first.c_str());
    OpenScheme(BuildRobotSchemePath(AppFolders().robots, first.c_str()).c_str());
  } else if (_wcsicmp(extension.c_str(), L"VLKX") == 0) {
    OpenScheme(first.c_str());
  }
  // The second token names the model's device list; further tokens are
  // ignored.
  std::wstring second = NextCommandLineToken(&cursor);
  if (!second.empty()) ImportModelDevices(second.c_str());
}

void CMainForm::ImportModelDevices(const wchar_t* path) {
  if (!scheme_) return;
  if (!fileName_) {
    MessageBoxW(window_, kVelkNoDocumentForDevicesMessage, L"Ошибка", MB_OK | MB_ICONERROR);
    return;
  }
  CMemoryStream stream;
  if (!path || !stream.LoadFromFile(path)) {
    std::wstring text = std::wstring(kVelkUnreadableDeviceListMessage) + L"\n" + (path ? path : L"");
    MessageBoxW(window_, text.c_str(), L"Ошибка", MB_OK | MB_ICONERROR);
    return;
  }
  DeviceImportResult result = ImportDeviceList(scheme_, stream.data, stream.size, window_);
  if (result.Modified()) modified_ = 1;
  UpdateTitle();
  // The editors of the document show the new components and reach them
  // with their scroll bars.
  for (int i = 0; i < LiveForms.count; i++) {
    CSphEditor* editor = dynamic_cast<CSphEditor*>(LiveForms.forms[i]);
    if (!editor || editor->GetScheme() != scheme_) continue;
    if (CSchemeView* view = editor->GetSchemeView()) {
      view->UpdateScrollRange();
      if (view->GetHandle()) InvalidateRect(view->GetHandle(), nullptr, FALSE);
    }
    if (CPCBView* board = editor->GetBoardView()) {
      if (board->GetHandle()) InvalidateRect(board->GetHandle(), nullptr, FALSE);
    }
  }
}

void CMainForm::OpenDocumentCommand() {
  wchar_t* path = ShowOpenFileDialog(this, nullptr, false, L"vlkx", kOpenFilter, nullptr, nullptr);
  if (!path) return;
  // Unsaved changes are offered for saving first, as when closing.
  if (!ConfirmClose()) {
    FreeBuffer(path);
    return;
  }
  if (GetActiveMDIChild()) {
    std::wstring module(static_cast<size_t>(kFoundationMaxPathChars) + 1, L'\0');
    GetModulePath(&module[0]);
    module.resize(wcslen(module.c_str()));
    std::wstring parameters = L"\"" + std::wstring(path) + L"\"";
    GetKestHost()->StartProgram(nullptr, nullptr, module.c_str(), parameters.c_str(), nullptr, SW_SHOW);
  } else {
    CSphEditor::CloseEditorsOfScheme(scheme_);
    delete scheme_;
    scheme_ = new SchScheme;
    modified_ = 0;
    OpenScheme(path);
  }
  FreeBuffer(path);
}

LRESULT CMainForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITMENUPOPUP: {
      HMENU popup = reinterpret_cast<HMENU>(wParam);
      if (popup && popup == editMenu_) UpdateEditMenu();
      else if (popup && popup == fileMenu_) UpdateFileMenu();
      break;
    }
    case WM_COMMAND: {
      // Only commands of the menu (0) or an accelerator (1).
      if (HIWORD(wParam) > 1) break;
      UINT id = LOWORD(wParam);
      if (id == ID_FILE_EXIT) {
        PostClose(2);
        break;
      }
      if (id == ID_FILE_SAVE) {
        SaveScheme();
        break;
      }
      if (id == ID_FILE_OPEN) {
        OpenDocumentCommand();
        break;
      }
      bool forwarded = false;
      for (const ForwardedCommand& c : kForwardedCommands) {
        if (c.menuId == id) {
          ForwardToActiveChild(c.childCommand);
          forwarded = true;
          break;
        }
      }
      if (forwarded) break;
      if (id == ID_WINDOW_TILE) TileChildren();
      else if (id == ID_WINDOW_CASCADE) CascadeChildren();
      else if (id == ID_HELP_ABOUT) ShowAbout();
      else if (id == ID_HELP_CONTENTS) ShowHelp();
      break;
    }
    case WM_SCHEME_MODIFIED:
      modified_ = 1;
      UpdateTitle();
      break;
    case WM_CLOSE:
      if (!ConfirmClose()) return 0;
      break;
    default:
      break;
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}
