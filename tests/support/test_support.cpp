#include "support/test_support.h"

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

namespace velktest {

int FlushEvents(int maxMessages) {
  int handled = 0;
  MSG msg;
  while (handled < maxMessages && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for whoever runs the real loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++handled;
  }
  return handled;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    FlushEvents();
    if (done()) return true;
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs) return done();
    MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH, base);
  if (n == 0 || n > MAX_PATH) wcscpy(base, L".\\");
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    wchar_t name[64];
    swprintf(name, 64, L"velktest_%lu_%u\\", static_cast<unsigned long>(GetCurrentProcessId()),
             ++counter);
    std::wstring candidate = std::wstring(base) + name;
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
  ADD_FAILURE() << "cannot create a temporary folder";
}

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  // SHFileOperation wants a double-terminated list and no trailing backslash.
  std::wstring from = path_.substr(0, path_.size() - 1);
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&op);
}

bool TempFolder::WriteFile(const std::wstring& name, const void* data, size_t size) const {
  FILE* f = _wfopen(File(name).c_str(), L"wb");
  if (!f) return false;
  bool ok = size == 0 || fwrite(data, 1, size, f) == size;
  if (fclose(f) != 0) ok = false;
  return ok;
}

std::vector<uint8_t> TempFolder::ReadFile(const std::wstring& name) const {
  return ReadWholeFile(File(name));
}

std::vector<uint8_t> ReadWholeFile(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return bytes;
  uint8_t chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  fclose(f);
  return bytes;
}

std::string HexDump(const void* data, size_t size) {
  static const char digits[] = "0123456789ABCDEF";
  const uint8_t* p = static_cast<const uint8_t*>(data);
  std::string out;
  for (size_t i = 0; i < size; ++i) {
    if (i) out.push_back(i % 16 == 0 ? '\n' : ' ');
    out.push_back(digits[p[i] >> 4]);
    out.push_back(digits[p[i] & 15]);
  }
  return out;
}

::testing::AssertionResult BytesEqual(const void* actual, size_t actualSize,
                                      const std::vector<uint8_t>& expected) {
  const uint8_t* a = static_cast<const uint8_t*>(actual);
  size_t common = actualSize < expected.size() ? actualSize : expected.size();
  size_t first = common;
  for (size_t i = 0; i < common; ++i) {
    if (a[i] != expected[i]) {
      first = i;
      break;
    }
  }
  if (first == common && actualSize == expected.size()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "bytes differ at offset " << first << " (actual " << actualSize << " bytes, expected "
         << expected.size() << ")\nactual:\n"
         << HexDump(a, actualSize) << "\nexpected:\n"
         << HexDump(expected.data(), expected.size());
}

std::vector<uint8_t> ParseHex(const char* text) {
  std::vector<uint8_t> out;
  int nibbles = 0;
  unsigned value = 0;
  for (const char* p = text; *p; ++p) {
    if (p[0] == '/' && p[1] == '/') {
      while (*p && *p != '\n') ++p;
      if (!*p) break;
      continue;
    }
    int d = -1;
    if (*p >= '0' && *p <= '9') d = *p - '0';
    else if (*p >= 'a' && *p <= 'f') d = *p - 'a' + 10;
    else if (*p >= 'A' && *p <= 'F') d = *p - 'A' + 10;
    if (d < 0) {
      if (nibbles == 1) ADD_FAILURE() << "odd hex digit in fixture";
      nibbles = 0;
      value = 0;
      continue;
    }
    value = value * 16 + d;
    if (++nibbles == 2) {
      out.push_back(static_cast<uint8_t>(value));
      nibbles = 0;
      value = 0;
    }
  }
  return out;
}

namespace {
DialogAnswerer* g_answerer = nullptr;

std::wstring WindowText(HWND w) {
  int n = GetWindowTextLengthW(w);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(w, &s[0], n + 1);
  s.resize(wcslen(s.c_str()));
  return s;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
  wchar_t cls[32];
  GetClassNameW(child, cls, 32);
  if (_wcsicmp(cls, L"Static") == 0) {
    std::wstring text = WindowText(child);
    if (!text.empty()) {
      std::wstring* out = reinterpret_cast<std::wstring*>(param);
      if (!out->empty()) out->push_back(L'\n');
      *out += text;
    }
  }
  return TRUE;
}
}  // namespace

DialogAnswerer::DialogAnswerer(int buttonId) : answer_(buttonId) {
  g_answerer = this;
  hook_ = SetWindowsHookExW(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
}

DialogAnswerer::DialogAnswerer(std::initializer_list<int> buttonIds)
    : DialogAnswerer(buttonIds.size() ? *(buttonIds.end() - 1) : IDOK) {
  sequence_.assign(buttonIds.begin(), buttonIds.end());
}

DialogAnswerer::~DialogAnswerer() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (g_answerer == this) g_answerer = nullptr;
}

LRESULT CALLBACK DialogAnswerer::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_answerer) {
    HWND w = reinterpret_cast<HWND>(wParam);
    wchar_t cls[32];
    GetClassNameW(w, cls, 32);
    if (wcscmp(cls, L"#32770") == 0) g_answerer->OnActivate(w);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogAnswerer::OnActivate(HWND dialog) {
  // Activation can be reported more than once for one box; answer it once.
  if (GetPropW(dialog, L"VelkTestAnswered")) return;
  SetPropW(dialog, L"VelkTestAnswered", reinterpret_cast<HANDLE>(1));
  captions_.push_back(WindowText(dialog));
  std::wstring text;
  EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&text));
  texts_.push_back(text);
  int answer = answer_;
  if (texts_.size() <= sequence_.size()) answer = sequence_[texts_.size() - 1];
  HWND button = GetDlgItem(dialog, answer);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring line = L"\"" + exe + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  started_ = CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info_) != FALSE;
}

ChildProcess::~ChildProcess() {
  if (!started_) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

namespace {
struct WindowSearch {
  DWORD process;
  const std::wstring* caption;
  HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window)) return TRUE;
  if (WindowText(window) != *search->caption) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND ChildProcess::WaitForWindow(const std::wstring& caption, DWORD timeoutMs) {
  if (!started_) return nullptr;
  const DWORD start = GetTickCount();
  WaitForInputIdle(info_.hProcess, timeoutMs);
  for (;;) {
    WindowSearch search = {info_.dwProcessId, &caption, nullptr};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs) return nullptr;
    // Wakes at once when the process ends or a message comes.
    DWORD slice = timeoutMs - spent < 100 ? timeoutMs - spent : 100;
    if (MsgWaitForMultipleObjects(1, &info_.hProcess, FALSE, slice, QS_ALLINPUT) == WAIT_OBJECT_0) return nullptr;
    FlushEvents();
  }
}

int ChildProcess::WaitForEnd(DWORD timeoutMs) {
  if (!started_ || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return static_cast<int>(code);
}

bool SaveWindowBitmap(HWND window, const std::wstring& path) {
  RECT r;
  if (!window || !GetWindowRect(window, &r)) return false;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bmp) {
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(mem, old);
    DWORD stride = ((w * 24 + 31) / 32) * 4;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + stride * h;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (f) {
      ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
           fwrite(bits, stride * h, 1, f) == 1;
      if (fclose(f) != 0) ok = false;
    }
    DeleteObject(bmp);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

std::wstring ScreenshotFolder() {
  wchar_t exe[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring bin(exe, n);
  bin = bin.substr(0, bin.find_last_of(L"\\/"));
  std::wstring shots = bin.substr(0, bin.find_last_of(L"\\/") + 1) + L"screenshots\\";
  CreateDirectoryW(shots.c_str(), nullptr);
  return shots;
}

bool SaveScreenshot(HWND window, const std::wstring& name) {
  return SaveWindowBitmap(window, ScreenshotFolder() + name);
}

}  // namespace velktest
