// The plug-in block: the host side of one block of a plug-in DLL's kind. The
// DLL does the block's work; this block forwards the run, the property dialog
// and its record's data to the DLL and keeps pins, caption and position like
// any block. The DLL's calls are the DLL's own code: a failure inside them is
// not caught here.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/plugin/plugin_api.h"
#include "foundation/plain_array.h"

class BePluginModule;
class BeCatalogue;

const unsigned int kBePluginBlockClassId = 0x0553111A;
const COLORREF kBePluginBlockFill = RGB(255, 204, 255);
// The current record layout; older records have no version.
const int kBePluginRecordVersion = 1;
// Pin counts are stored as 16-bit values: no block can have more pins.
const int kBeMaxPluginPins = 0xFFFF;

// The kind chosen in "Создать plugin" for the next plug-in block placed.
struct BePluginChoice {
  BePluginModule* module;
  int kindIndex;
};
void SetPluginChoice(BePluginModule* module, int kindIndex);
BePluginChoice GetPluginChoice();
// Forgets the choice (the placement was given up).
void ClearPluginChoice();

class CBEPluginBlock : public CBEBlock {
public:
  CBEPluginBlock();
  // "DestroyBlock" when the block has a module and a handle, then the names
  // and hints of its pins go.
  ~CBEPluginBlock() override;

  // Placement; on the first attachment to a scheme that is not being read,
  // the block takes the chosen kind (and the choice is cleared) and calls
  // its creator. Blocks made while a scheme is read or pasted take nothing.
  void AttachToScheme(BeScheme* newScheme) override;
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // Version, pin counts, data size, module and kind names, the DLL's data,
  // then the base record.
  void Save(CStream* stream) override;
  // Either layout. A missing module or kind in the current layout is told
  // and the block keeps its record without a handle; in the older layout it
  // throws BePluginLoadError. False when the stream ends inside the record.
  bool Load(CStream* stream) override;
  // The DLL's dialog; true when it reports a change.
  bool ShowProperties() override;

  static CBEBlock* Create();
  // From the host-block pointer a DLL passes back; null for anything else.
  static CBEPluginBlock* FromHost(BePluginHostBlock* block);
  BePluginHostBlock* AsHost() { return reinterpret_cast<BePluginHostBlock*>(this); }

  // What the host functions do to the block. Indexes outside the counts,
  // negative or too large counts and unknown types are ignored.
  void HostSetSize(int width, int height);
  void HostSetInputCount(int n);
  void HostSetOutputCount(int n);
  void HostSetInputText(int index, const wchar_t* text, bool hint);
  void HostSetOutputText(int index, const wchar_t* text, bool hint);
  void HostSetInputType(int index, int type);
  void HostSetOutputType(int index, int type);
  void HostDisconnectInput(int index);
  void HostDisconnectOutput(int index);
  // The value bytes an input reads (null when out of range or unconnected)
  // and the value bytes of an output (null when out of range).
  const unsigned char* HostInputValue(int index) const;
  unsigned char* HostOutputValue(int index);

  // The module and kind names the record named, and the DLL's data it held
  // (kept so that a block whose DLL is missing saves them again unchanged).
  const wchar_t* GetStoredModuleName() const { return storedModule_; }
  const wchar_t* GetStoredKindName() const { return storedKind_; }
  int GetStoredDataSize() const { return storedData_.Count(); }

  // Fields, in this order.
  BePluginModule* module = nullptr;   // not owned
  const wchar_t* kindName = nullptr;  // the module's copy, not owned
  BePluginHandle handle = 0;          // 0: none
  // Marks a live plug-in block, so that a host-block pointer a DLL passes
  // back is checked before it is used.
  unsigned int signature;

private:
  // Takes kind kindIndex of m and calls its creator; false without handle.
  bool CreateHandle(BePluginModule* m, int kindIndex);
  void DestroyHandle();
  void FreePinTexts(bool inputs, int from);
  bool LoadCurrent(CStream* stream);
  bool LoadOlder(CStream* stream);
  void TellMissing(bool moduleMissing, const wchar_t* moduleName, const wchar_t* kind);

  bool attached_ = false;
  wchar_t* storedModule_ = nullptr;  // owned
  wchar_t* storedKind_ = nullptr;    // owned
  CPlainArray<unsigned char> storedData_{256};
};

// Adds the entry "Плагин" (bitmap "plugin.bmp") to the group "Макро и DLL"
// of a catalogue; false when the catalogue has no such group or memory ran
// out.
bool AddPluginCatalogueEntry(BeCatalogue* catalogue);
