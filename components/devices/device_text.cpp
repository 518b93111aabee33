#include "components/devices/device_text.h"

#include <cstring>
#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/encoding.h"
#include "scheme/model/block.h"
#include "scheme/simulation/sim_log.h"

namespace {

// Longest database text taken (the rest is cut).
const size_t kMaxDbText = 0x7FFFFFF;

}  // namespace

wchar_t* DecodeDbText(const char* text) {
  if (!text || !*text) return nullptr;
  size_t n = strlen(text);
  if (n > kMaxDbText) n = kMaxDbText;
  return DecodeText(reinterpret_cast<unsigned char*>(const_cast<char*>(text)), static_cast<int>(n), false,
                    kFoundationEncodingAnsi);
}

void ReplaceOwnedText(wchar_t** slot, wchar_t* text) {
  if (*slot == text) return;
  FreeBuffer(*slot);
  *slot = text;
}

void ReportDevice(const CSCHBlock* block, const wchar_t* format) {
  SimMessageLog::Global().AppendFormat(format, block->instanceName ? block->instanceName : L"");
}

int DeviceNameWidth(HDC dc, const CSCHBlock* block) {
  if (!block->instanceName) return 0;
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, block->instanceName, static_cast<int>(wcslen(block->instanceName)), &size);
  return size.cx;
}

void PaintDeviceName(HDC dc, const CSCHBlock* block, int x, int y) {
  if (!block->instanceName) return;
  COLORREF old = SetTextColor(dc, RGB(0, 0, 0));
  TextOutW(dc, x, y, block->instanceName, static_cast<int>(wcslen(block->instanceName)));
  SetTextColor(dc, old);
}
