// The base class of every simulation block: what a palette button places,
// the view draws and drags, the "BE5 " stream saves and the scheme's run loop
// steps. A block owns its pins and its caption; the scheme's list owns the
// block and deletes it through its virtual destructor.
#pragma once

#include <windows.h>

#include "blocks/engine/block_class_ids.h"

class BeScheme;
class BeInputPin;
class BeOutputPin;
struct BePinRun;
class CStream;
struct BeCatalogueEntry;

// Flags byte.
const unsigned char kBeBlockSelected = 0x01;  // editor state, never saved
const unsigned char kBeBlockDevice = 0x02;    // a piece of the unit's hardware or a macro port

const int kBeNewBlockWidth = 150;
const int kBeNewBlockHeight = 100;
const COLORREF kBeDefaultBlockFill = 0xFFFFFF;

class CBEBlock {
public:
  CBEBlock();
  CBEBlock(const CBEBlock&) = delete;
  CBEBlock& operator=(const CBEBlock&) = delete;

  // Virtual operations, in slot order.
  // Delete: leaves the scheme's list, drops the pins (the inputs of other
  // blocks linked to the outputs are cleared) and frees the caption.
  virtual ~CBEBlock();
  // Leaves the current scheme's list; in a new scheme the block is placed at
  // x 150 under the lowest block and becomes the list head. Overrides call
  // the base first.
  virtual void AttachToScheme(BeScheme* newScheme);
  virtual void Start();
  virtual void Step(float dt);
  virtual void Stop();
  // The base record: rectangle, caption, flags, input links, output ids.
  virtual void Save(CStream* stream);
  // Reads the base record; false when the stream ends inside it (what was
  // read stays, no input takes a link from it).
  virtual bool Load(CStream* stream);
  // Turns every input's saved identity into its source output.
  virtual void ResolveLinks();
  // Body, then the caption centred in it.
  virtual void Draw(HDC dc);
  // Opens the block's property dialog; true when something changed. The
  // base has no dialog.
  virtual bool ShowProperties();

  // The inner program of a macro block; null for every other block.
  virtual BeScheme* GetNestedScheme() const { return nullptr; }
  // Called after a stream read, once the links of every block read have
  // been resolved; blocks whose costs or types depend on their sources
  // recompute them here.
  virtual void OnLinksResolved() {}
  // Called when the source of one of the block's inputs is disconnected;
  // the microcontroller pin block returns its pin to input mode there.
  virtual void OnInputDisconnected(BeInputPin* input) { (void)input; }

  // The class id of the entry the block was created from (0 without one).
  unsigned int GetClassId() const;
  // The own caption, or the entry's caption when the block has none.
  const wchar_t* GetCaption() const;
  // Stores a heap copy (null returns to the entry's caption).
  void SetCaption(const wchar_t* text);

  // Geometry.
  void MoveTo(int x, int y);
  // Offsets the block and the routes of the links whose source belongs to
  // a selected block, so links between blocks moved together keep shape.
  void MoveBy(int dx, int dy);
  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }

  // Pins. Counts below 0 count as 0. Surplus pins are destroyed from the
  // end (destroyed outputs are disconnected), new pins are bit-typed and
  // unconnected (the pins one call adds lie side by side in memory, each
  // keeping its address while it lives), and all pins are spread down the
  // current height. False when memory ran out; the pins are then left as
  // they were.
  bool SetInputCount(int n);
  bool SetOutputCount(int n);
  // Spreads the pins again after a height change.
  void SpreadInputs();
  void SpreadOutputs();
  BeInputPin* Input(int i) const { return i >= 0 && i < inputCount ? inputs[i] : nullptr; }
  BeOutputPin* Output(int i) const { return i >= 0 && i < outputCount ? outputs[i] : nullptr; }

  // Drawing, for derived classes and the view.
  void DrawBody(HDC dc);
  void DrawCaptionCentered(HDC dc, const wchar_t* text);
  void DrawCaptionBelow(HDC dc);
  // The whole block as the view shows it: Draw when forced or visible in
  // the DC, the pin marks and names, the selection frame, then the links.
  void Paint(HDC dc, bool force);

  bool IsSelected() const { return (flags & kBeBlockSelected) != 0; }
  bool IsDevice() const { return (flags & kBeBlockDevice) != 0; }

  // Fields, in this order.
  const BeCatalogueEntry* entry = nullptr;
  BeScheme* scheme = nullptr;
  CBEBlock* next = nullptr;
  CBEBlock* previous = nullptr;
  wchar_t* caption = nullptr;  // owned
  unsigned char flags = 0;
  RECT rect = {0, 0, kBeNewBlockWidth, kBeNewBlockHeight};
  int inputCount = 0;
  BeInputPin** inputs = nullptr;  // owned pins; see singleInput_
  int outputCount = 0;
  BeOutputPin** outputs = nullptr;  // owned pins; see singleOutput_
  COLORREF fillColor = kBeDefaultBlockFill;
  int cycles = 0;
  int rom = 0;
  int ram = 0;
  unsigned char sharedRoutine = 0;

private:
  void Unlink();
  // Most blocks have one input and one output: the pointer to a single pin
  // is kept here (inputs or outputs then point at it) instead of in an
  // array of its own, which keeps a long program's blocks in fewer cache
  // lines while it runs.
  BeInputPin* singleInput_ = nullptr;
  BeOutputPin* singleOutput_ = nullptr;
  // The heap blocks the pins were made in, newest first (block.cpp).
  BePinRun* inputRuns_ = nullptr;
  BePinRun* outputRuns_ = nullptr;
};

// A block just made, or null (deleting it) when it did not get that many
// inputs and outputs (their memory was refused): the creators' check.
CBEBlock* KeepIfPinsMade(CBEBlock* block, int inputCount, int outputCount);
