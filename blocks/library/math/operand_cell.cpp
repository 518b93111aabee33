#include "blocks/library/math/operand_cell.h"

#include <cstring>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/scalar_value.h"

void ReadOperandCell(const BeInputPin* input, BeSignalType type, int neutral, unsigned char* cell) {
  memset(cell, 0, 8);
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: WriteIntegerValue(cell, type, static_cast<uint32_t>(neutral)); break;
    case kBeSignalFloat: WriteFloatValue(cell, static_cast<float>(neutral)); break;
    case kBeSignalDouble: WriteDoubleValue(cell, neutral); break;
    default: break;
  }
  const BeOutputPin* source = input ? input->source : nullptr;
  if (source) memcpy(cell, source->value, ScalarWidth(source->type));
}
