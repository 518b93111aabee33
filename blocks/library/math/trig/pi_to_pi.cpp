#include "blocks/library/math/trig/pi_to_pi.h"

#include <new>

#include "blocks/library/math/sigma_font.h"
#include "blocks/library/math/trig/angle_reduction.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_font.h"

namespace {
const wchar_t kSymbolFace[] = L"Symbol";
const wchar_t kSymbolText[] = L"-p..p";
const wchar_t kFallbackFace[] = L"Tahoma";
const wchar_t kUnicodeText[] = L"-\x03C0..\x03C0";

double ReduceFloat(double x) { return ReduceAngleToPi(x, kFloatPi, kFloatTwoPi, kFloatMantissaBits); }
double ReduceDouble(double x) { return ReduceAngleToPi(x, kDoublePi, kDoubleTwoPi, kDoubleMantissaBits); }
}  // namespace

CBEPItoPI::CBEPItoPI() : CBEMathFunc(kBePItoPIClassId) {}

CBEBlock* CBEPItoPI::Create() { return CreateMathFunc<CBEPItoPI>(); }

void CBEPItoPI::Step(float) { StepFunction(ReduceFloat, ReduceDouble); }

void CBEPItoPI::Draw(HDC dc) {
  DrawBody(dc);
  bool symbol = HasSymbolFont();
  CKestFont* font = new (std::nothrow)
      CKestFont(symbol ? kSymbolFace : kFallbackFace, kPiFontHeight, FW_NORMAL, false, false, false, DEFAULT_CHARSET);
  if (!font) return;
  font->AddRef();
  {
    CKestDcSelection selection(dc);
    if (font->GetHandle()) selection.Select(font->GetHandle());
    DrawCaptionCentered(dc, symbol ? kSymbolText : kUnicodeText);
  }
  font->Release();
}
