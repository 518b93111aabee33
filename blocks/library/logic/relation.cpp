#include "blocks/library/logic/relation.h"

#include <cmath>

#include "blocks/engine/block.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/scalar_value.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
const wchar_t* const kSymbols[kRelationCount] = {L"=", L"≠", L"<", L">", L"≤", L"≥"};
const int kPointDepth = 15;

template <class T>
int Compare(T a, T b, unsigned char relation) {
  switch (relation) {
    case kRelationEqual: return a == b;
    case kRelationNotEqual: return a != b;
    case kRelationLess: return a < b;
    case kRelationGreater: return a > b;
    case kRelationLessOrEqual: return a <= b;
    case kRelationGreaterOrEqual: return a >= b;
    default: return -1;
  }
}
}  // namespace

const wchar_t* RelationSymbol(unsigned char relation) {
  return relation < kRelationCount ? kSymbols[relation] : L"?";
}

int CompareIntegers(int64_t a, int64_t b, unsigned char relation) { return Compare(a, b, relation); }

// The built-in comparisons already answer false for a not-a-number side
// and true for "≠"; the rule is spelled out so that no compiler option
// (fast math) can change it.
int CompareReals(double a, double b, unsigned char relation) {
  if (relation >= kRelationCount) return -1;
  if (std::isnan(a) || std::isnan(b)) return relation == kRelationNotEqual ? 1 : 0;
  return Compare(a, b, relation);
}

int CompareCells(const unsigned char* a, const unsigned char* b, BeSignalType type, unsigned char relation) {
  switch (type) {
    case kBeSignalBit: return CompareIntegers(a[0], b[0], relation);
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: return CompareIntegers(ReadIntegerValue(a, type), ReadIntegerValue(b, type), relation);
    case kBeSignalFloat: return CompareReals(ReadFloatValue(a), ReadFloatValue(b), relation);
    case kBeSignalDouble: return CompareReals(ReadDoubleValue(a), ReadDoubleValue(b), relation);
    default: return -1;
  }
}

void DrawArrowBody(CBEBlock* block, HDC dc) {
  const RECT& r = block->rect;
  int middle = (r.top + r.bottom) / 2;
  POINT corners[5] = {{r.left, r.top},
                      {r.right - kPointDepth, r.top},
                      {r.right, middle},
                      {r.right - kPointDepth, r.bottom},
                      {r.left, r.bottom}};
  CKestOwnedBrush brush(CreateSolidBrush(block->fillColor));
  CKestDcSelection selection(dc);
  if (brush) selection.Select(brush.Get());
  Polygon(dc, corners, 5);
}

bool ReadComparisonType(CStream* stream, BeSignalType* type) {
  unsigned char code;
  if (!ReadByteChecked(stream, &code) || code < kBeSignalBit || code > kBeSignalDouble) return false;
  *type = code;
  return true;
}
