#include "kestui/core/kest_host.h"

#include <shellapi.h>

#include "kestui/core/kest_service_slot.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/forms/kest_mdiselect.h"

namespace {

CKestServiceSlot<CKestHost> g_host;

}  // namespace

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

CKestHost* GetKestHost() { return g_host.Get(); }

CKestHost* SetKestHost(CKestHost* host) { return g_host.Set(host); }
