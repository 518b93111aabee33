// A second process for the block clipboard tests. "copy" puts two linked
// plain blocks (and a selected device block, which is never copied) on the
// clipboard; "paste" reads the clipboard's blocks into an empty scheme and
// answers in its exit code: 1 failure, otherwise 100 + 10 x blocks + 1 when
// the newer block's input is fed by the older block's output.
#include <windows.h>

#include <cwchar>

#include "../engine_fixture.h"
#include "blocks/engine/block_clipboard.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 1;
  betest::UnitCatalogue unit;
  BeScheme scheme;
  scheme.Init(&unit.catalogue);
  if (wcscmp(argv[1], L"copy") == 0) {
    CBEBlock* p = scheme.CreateBlock(betest::kPlainClassId);
    CBEBlock* q = scheme.CreateBlock(betest::kPlainClassId);
    CBEBlock* device = scheme.CreateBlock(betest::kPlainClassId);
    if (!p || !q || !device) return 1;
    betest::Link(p, 0, q, 0, 111, 222, 333);
    q->SetCaption(L"из другого процесса");
    p->flags |= kBeBlockSelected;
    q->flags |= kBeBlockSelected;
    device->flags |= kBeBlockSelected | kBeBlockDevice;
    return BeBlockClipboard::Copy(&scheme, nullptr) ? 0 : 1;
  }
  if (wcscmp(argv[1], L"paste") == 0) {
    if (!BeBlockClipboard::Paste(&scheme, nullptr, nullptr)) return 1;
    int blocks = scheme.GetBlockCount();
    bool linked = blocks == 2 && scheme.blocks->inputs[0]->source == scheme.blocks->next->outputs[0];
    return 100 + 10 * blocks + (linked ? 1 : 0);
  }
  return 1;
}
