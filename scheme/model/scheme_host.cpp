#include "scheme/model/scheme_host.h"

namespace {

CKestServiceSlot<CSchemeHost> g_host;

}  // namespace

void CSchemeHost::ShowComponentModel(const wchar_t*, const char*, const char*) {}

void CSchemeHost::ShowComponentCard(const wchar_t*, const wchar_t*) {}

bool CSchemeHost::OpenSchemeEditor(SchScheme*, int, int, int) { return false; }

uint32_t CSchemeHost::PublishPayload(void*, const void*) { return 0; }

void CSchemeHost::WithdrawPayloads(const void*) {}


void CSchemeHost::ShowReadError(const wchar_t* text) {
  MessageBoxW(GetActiveWindow(), text ? text : L"", L"Ошибка", MB_OK | MB_ICONERROR);
}

CSchemeHost* GetSchemeHost() { return g_host.Get(); }

CSchemeHost* SetSchemeHost(CSchemeHost* host) { return g_host.Set(host); }
