#include "blocks/library/mcu/port_binding.h"

#include <cstring>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/mcu/io_port.h"

void BindPortToInput(CBEIOPort* port, BeInputPin* input, const McuPinBinding& b) {
  if (!port || !input) return;
  POINT at = input->GetPosition();
  port->MoveTo(at.x + b.dx, at.y + b.dy);
  port->SetMode(b.mode);
  BeOutputPin* out = port->Output(0);
  if (!out) return;
  if (b.disconnect) out->Disconnect();
  input->source = out;
  input->routeX1 = at.x + b.routeDx;
  out->hardware = 1;
  out->type = b.type;
  if (b.value >= 0) {
    memset(out->value, 0, sizeof out->value);
    out->value[0] = static_cast<unsigned char>(b.value);
  }
}

void BindPortToOutput(CBEIOPort* port, BeOutputPin* output, const McuPinBinding& b) {
  if (!port || !output) return;
  POINT at = output->GetPosition();
  port->MoveTo(at.x + b.dx, at.y + b.dy);
  port->SetMode(b.mode);
  BeInputPin* in = port->Input(0);
  if (!in) return;
  in->source = output;
  in->routeX1 = at.x + b.routeDx;
  if (b.type >= 0) in->type = b.type;
}

void ReleaseInputPort(BeInputPin* input, bool resetType, bool rebuild, int moveX, int moveY) {
  if (!input || !input->source) return;
  BeOutputPin* out = input->source;
  input->source = nullptr;
  out->hardware = 0;
  if (resetType) out->type = kBeSignalBit;
  CBEIOPort* port = CBEIOPort::OwnerOf(out);
  if (!port) return;
  if (rebuild) port->SetMode(CBEIOPort::kModeInput);
  else port->mode = CBEIOPort::kModeInput;
  if (moveX != 0 || moveY != 0) port->MoveTo(port->rect.left + moveX, port->rect.top + moveY);
}

CBEIOPort* ReleaseOutputPort(BeScheme* scheme, const BeOutputPin* output) {
  if (!scheme || !output) return nullptr;
  for (CBEIOPort* p = static_cast<CBEIOPort*>(scheme->portBlocks); p; p = p->nextPort) {
    if (p->inputCount < 1 || p->inputs[0]->source != output) continue;
    p->inputs[0]->source = nullptr;
    p->SetMode(CBEIOPort::kModeInput);
    return p;
  }
  return nullptr;
}
