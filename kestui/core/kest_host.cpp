#include "kestui/core/kest_host.h"

#include <shellapi.h>

#include "kestui/forms/kest_dialogs.h"
#include "kestui/forms/kest_mdiselect.h"

namespace {

CKestHost g_baseHost;
CKestHost* g_host = nullptr;  // null: the base host

}  // namespace

void CKestHost::ShowComponentModel(const wchar_t*, const char*, const char*) {}

void CKestHost::ShowComponentCard(const wchar_t*, const wchar_t*) {}

bool CKestHost::OpenSchemeEditor(SchScheme*, int, int, int) { return false; }

bool CKestHost::OpenBlockEditor(BeScheme*, const wchar_t*) { return false; }

bool CKestHost::ShowBlockProperties(CBEBlock*) { return false; }

void CKestHost::ShowReadError(const wchar_t* text) {
  MessageBoxW(GetActiveWindow(), text ? text : L"", L"Ошибка", MB_OK | MB_ICONERROR);
}

int CKestHost::ShowMessage(UINT flags, const wchar_t* caption, const wchar_t* text) {
  return ShowMessageText(nullptr, flags, caption, text);
}

HINSTANCE CKestHost::StartProgram(HWND owner, const wchar_t* verb, const wchar_t* file,
                                  const wchar_t* parameters, const wchar_t* folder, int show) {
  return ShellExecuteW(owner, verb, file, parameters, folder, show);
}

HDC CKestHost::BeginPictureExport(int, const RECT&) { return nullptr; }

void CKestHost::EndPictureExport(int, HDC) {}

bool CKestHost::OpenHelp(HWND, const wchar_t*, UINT, DWORD_PTR) { return false; }

bool CKestHost::ChooseMDIWindow(CKestForm* frame, int* index) { return ShowMDIWindowList(frame, index); }

CKestHost* GetKestHost() { return g_host ? g_host : &g_baseHost; }

CKestHost* SetKestHost(CKestHost* host) {
  CKestHost* previous = GetKestHost();
  g_host = host == &g_baseHost ? nullptr : host;
  return previous;
}
