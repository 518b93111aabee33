// A macro block: a part of a program packed into one block. It owns a nested
// block scheme whose port blocks carry the macro's inputs in and its
// outputs out.
#pragma once

#include "blocks/engine/block.h"

class CBEMacroInput;
class CBEMacroOutput;

// The colour of macro blocks and their ports.
const COLORREF kBeMacroFill = RGB(255, 153, 153);

class CBEMacro : public CBEBlock {
public:
  CBEMacro();
  // Deletes the nested scheme with its blocks first.
  ~CBEMacro() override;

  // Placement, then the nested scheme (made once, hung under scheme).
  void AttachToScheme(BeScheme* newScheme) override;
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // Input and output counts, the base record, the nested scheme's stream.
  void Save(CStream* stream) override;
  // False when the record or the nested stream cannot be read whole.
  bool Load(CStream* stream) override;
  // Body and the own caption.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;
  BeScheme* GetNestedScheme() const override { return nested; }

  // Binds the port blocks of the nested scheme by their indexes: a port
  // whose index names a pin of the macro serves it, naming the pin and
  // giving it its type; other ports stay unbound.
  void BindPorts();
  // Frees the pins' names (each pin owns a copy of its port's caption).
  void FreePinNames();

  static CBEBlock* Create();

  BeScheme* nested = nullptr;  // owned
};

// One row of the macro's property dialog: a pin's name and type, and the
// port block that served it (null for a new row).
struct BeMacroPinRow {
  const wchar_t* name;
  int type;
  CBEBlock* port;
};

// What confirming the macro's property dialog does: the caption, the pin
// counts and height from the rows, one port per row (made when the row has
// none) named and typed by it, links cut where a type changed, and ports no
// row claims deleted. Each row keeps the macro pin its port served, with
// the pin's outer links, whatever its place now; a deleted row's pin goes
// with its links. A pin's name is its own copy of the port's caption. False
// when a port or a name could not be made (that pin then has no port or no
// name), or, with nothing changed, when memory ran out for the pins.
bool ApplyMacroProperties(CBEMacro* macro, const wchar_t* caption, const BeMacroPinRow* inputRows,
                          int inputRowCount, const BeMacroPinRow* outputRows, int outputRowCount);
