#include "app/shell/velkboard_host.h"

#include <string>

#include "app/browser/component_viewer.h"
#include "app/browser/db_explorer.h"
#include "app/editor/sph_editor.h"
#include "app/export/picture_export.h"
#include "blocks/engine/block.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/payload_table.h"
#include "foundation/paths.h"

namespace {

// The help viewer's entry point (HtmlHelpW of hhctrl.ocx).
typedef HWND(WINAPI* HtmlHelpFn)(HWND, LPCWSTR, UINT, DWORD_PTR);

std::wstring RegisteredHelpControlPath() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32",
                    0, KEY_READ, &key) != ERROR_SUCCESS) {
    return L"";
  }
  wchar_t value[kFoundationMaxPathChars] = {};
  DWORD type = 0, size = sizeof value - sizeof(wchar_t);
  LONG rc = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return L"";
  value[kFoundationMaxPathChars - 1] = 0;
  if (type == REG_SZ) return value;
  wchar_t expanded[kFoundationMaxPathChars];
  DWORD n = ExpandEnvironmentStringsW(value, expanded, kFoundationMaxPathChars);
  return (n == 0 || n > kFoundationMaxPathChars) ? L"" : expanded;
}

HtmlHelpFn LoadHtmlHelp() {
  static HtmlHelpFn loaded = nullptr;
  if (loaded) return loaded;
  std::wstring path = RegisteredHelpControlPath();
  HMODULE module = path.empty() ? nullptr : LoadLibraryW(path.c_str());
  if (!module) module = LoadLibraryW(L"hhctrl.ocx");
  if (!module) return nullptr;
  // The module stays loaded for the rest of the process.
  loaded = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpW")));
  return loaded;
}

}  // namespace

bool CVelkboardHost::OpenHelp(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data) {
  HtmlHelpFn htmlHelp = LoadHtmlHelp();
  if (!htmlHelp) return false;
  htmlHelp(owner, file, command, data);
  return true;
}

void CVelkboardHost::ShowComponentModel(const wchar_t* tableName, const char* model, const char* options) {
  ::ShowComponentModel(tableName, model, options);
}

bool CVelkboardHost::OpenSchemeEditor(SchScheme* scheme, int mode, int boardWidth, int boardHeight) {
  if (!MainKestForm || !scheme) return false;
  CSphEditor* editor = new CSphEditor(MainKestForm, scheme, mode, boardWidth, boardHeight);
  if (!editor->GetHandle()) {
    delete editor;
    return false;
  }
  return true;
}

uint32_t CVelkboardHost::PublishPayload(void* payload, const void* owner) {
  return BePayloadTable::Program().Add(payload, owner);
}

void CVelkboardHost::WithdrawPayloads(const void* owner) { BePayloadTable::Program().ReleaseOwner(owner); }

bool CVelkboardHost::ShowBlockProperties(CBEBlock* block) { return block && block->ShowProperties(); }

bool CVelkboardHost::OpenBlockEditor(BeScheme* scheme, const wchar_t* title) {
  if (!scheme || !MainKestForm || !MainKestForm->GetMDIClient()) return false;
  // The window owns the editor object from here on.
  CBEEditor* editor = new CBEEditor(MainKestForm, scheme);
  HWND window = editor->GetHandle();
  if (!window) {
    delete editor;
    return false;
  }
  if (title) editor->SetCaption(title);
  return true;
}

HDC CVelkboardHost::BeginPictureExport(int kind, const RECT& rect) { return ::BeginPictureExport(kind, rect); }

void CVelkboardHost::EndPictureExport(int kind, HDC dc) { ::EndPictureExport(kind, dc); }
void CVelkboardHost::ShowComponentCard(const wchar_t* description, const wchar_t* pictureFile) {
  CComponentViewer* viewer = new CComponentViewer(MainKestForm, description, pictureFile);
  if (viewer->GetHandle()) viewer->ShowModal(false);
  delete viewer;
}
