// The base class of every circuit component and the pins that wires attach
// to. A block lives in one scheme's block list; the scheme (or the block's
// parent) deletes it through its virtual destructor.
#pragma once

#include <windows.h>

class SchScheme;
class SchWire;
class SchNet;
struct SchSignalSource;
struct SchPinState;
class CStream;
class CompDbRecord;
class PcbPainter;
class SchIdTable;

// Flags byte of blocks (the first three are also used on wires, junctions
// and buses).
const unsigned char kSchSelected = 0x01;       // selected in the scheme view
const unsigned char kSchBoardSelected = 0x02;  // selected in the board view
const unsigned char kSchBoardPart = 0x04;      // board or database part: the scheme view keeps it
const unsigned char kSchAuxiliary = 0x08;      // auxiliary part owned by another part
const unsigned char kSchLoaded = 0x10;         // read from a stream, not yet resolved
const unsigned char kSchUnseen = 0x80;         // the device-list import's transient mark

// Pin kinds. A wire joins pins of its own kind only.
const int kSchPinElectric = 0;
const int kSchPinUsb = 1;
const int kSchPinEthernet = 2;
const int kSchPinRf = 3;
const int kSchPinHydraulic = 4;
const int kSchPinAtx24 = 7;
const int kSchPinItx = 8;

// Sides of a block and directions of wires: 0 left (-x), 1 top/up (-y),
// 2 right (+x), 3 bottom/down (+y); code ^ 2 is the opposite.
const int kSchSideLeft = 0;
const int kSchSideTop = 1;
const int kSchSideRight = 2;
const int kSchSideBottom = 3;

// One pin: a plain record in the block's pin array. What every simulation
// step reads and writes comes first, so that it shares one cache line.
struct SchPin {
  SchNet* net;                 // the pin's net during a simulation run
  SchSignalSource* source;     // data source this pin has handed to its net
  float I;                     // current contribution U/R to the net's first sums
  float G;                     // conductance contribution 1/R to the net's first sums
  float I2;                    // contribution to the second current sum
  float G2;                    // contribution to the second conductance sum
  int sourceKind;              // data kind this pin has handed to its net
  int kind;                    // kPin*
  const wchar_t* name;         // short label, not owned
  const wchar_t* description;  // longer text, not owned
  int number;                  // 1-based package pin number, -1 when unnumbered
  int offset;                  // position along its side (see GetPinAnchor)
  int side;                    // kSide*
  unsigned char wireEnd;       // which end (0 or 1) of that wire is here
  SchWire* wire;               // the wire at the pin (at most one); a saved identity while loaded
};

// A pin as a new one starts: unnamed, electric, unnumbered, 5 megaohms to 0 V.
void InitPin(SchPin* pin);

class CSCHBlock {
public:
  CSCHBlock();
  CSCHBlock(const CSCHBlock&) = delete;
  CSCHBlock& operator=(const CSCHBlock&) = delete;

  // Virtual operations, in slot order.
  virtual ~CSCHBlock();  // Delete
  // Places the block below everything in the scheme, links it at the head of
  // the block list and gives it a unique designator when it has a prefix.
  // Subclasses that override it call the base first.
  virtual void Attach(SchScheme* scheme);
  // Takes model, options, table name and price from a database record.
  virtual void ApplyDbRecord(CompDbRecord* record);
  // Draws the default symbol: body, instance name, model.
  virtual void Paint(HDC dc);
  virtual void PaintFootprint(PcbPainter* painter);
  // Shows the block's model through the program's component viewer
  // (CSchemeHost::ShowComponentModel); answers whether the block changed (the
  // base never changes it).
  virtual bool Edit();
  virtual void Start();
  virtual void Step(float dt);
  virtual void Stop();
  // The base block record of the scheme stream.
  virtual void Save(CStream* stream);
  virtual void Load(CStream* stream);
  virtual void JoinInternalNets();
  // Class name (8-bit) and the burnt byte.
  virtual void SaveRunState(CStream* stream);
  // False, with only the class name read, for a record of another class.
  virtual bool LoadRunState(CStream* stream);

  // After a stream read: replaces the saved identities in the pin wires and
  // the child entries by the objects read in the same call; clears the
  // loaded flag.
  void ResolveIds(SchIdTable& ids);

  // Children: blocks of the same scheme owned by this one. The array grows
  // in powers of two (ChildCapacity of the count). AddChild answers false,
  // with nothing changed, when the array cannot grow.
  bool AddChild(CSCHBlock* child);
  void RemoveChild(CSCHBlock* child);

  // Texts. Each stores a copy; null clears.
  void SetName(const wchar_t* name);
  void SetModel(const char* model);
  void SetOptions(const char* options);
  void SetTableName(const wchar_t* tableName);
  // What the base ApplyDbRecord takes from a record.
  void ApplyDbFields(const char* model, const char* options, const wchar_t* tableName, double price);

  // Designators.
  void SetUniqueName(const wchar_t* prefix);
  void MakeNameUnique();

  // Geometry.
  void MoveTo(int x, int y);
  POINT GetPinAnchor(int pin) const;
  bool NormalizeWires();

  // Pins. The index arguments are clamped to the array. SetPinCount answers
  // false, keeping the pins it had, when memory runs out.
  bool SetPinCount(int n);
  void InsertPins(int index, int count);
  void RemovePins(int index, int count);
  void SpacePins(bool widen);
  void FitToPins();
  void LayoutPinsTwoSides();
  void LayoutPinsWideSo();
  void LayoutPinsNarrowSo();
  void LayoutPinsDip();
  void LayoutPinsWideDip();
  void LayoutPinsQuad();

  // Pin model (scheme/simulation/pin_model.cpp): what a component's simulation step
  // reads from and writes to its pins. Every call costs a constant.
  void SetPinSource(int pin, float U, float R);
  void GetPinState(int pin, SchPinState* state) const;
  void GetPinInput(int pin, float* U, float* R) const;
  void SetPinState(int pin, const SchPinState& state);

  // Parts of the default symbol.
  void PaintBody(HDC dc, COLORREF fill);
  void PaintName(HDC dc, const wchar_t* text, COLORREF color);
  void PaintModelText(HDC dc, COLORREF color);

  // Fields, in this order.
  const wchar_t* namePrefix = nullptr;  // designator prefix, not owned
  const char* className = nullptr;      // the registry's own name string, not owned
  char* model = nullptr;                // owned
  char* options = nullptr;              // owned, "%d:%d;" pairs
  wchar_t* tableName = nullptr;         // owned
  int savedId = 0;                      // identity read from a stream, 0 after resolving
  unsigned char burnt = 0;              // burnt out in a simulation
  unsigned char raisePinLabels = 0;     // labels of left and right pins drawn 5 px higher
  SchScheme* scheme = nullptr;
  CSCHBlock* next = nullptr;
  CSCHBlock* prev = nullptr;
  int childCount = 0;
  CSCHBlock** children = nullptr;  // saved identities while loaded
  CSCHBlock* parent = nullptr;
  RECT rect = {0, 0, 80, 100};  // the symbol's body, scheme pixels
  float boardX = 0, boardY = 0;  // millimetres
  float footprintWidth = 0, footprintLength = 0;
  int orientation = 0;           // quarter turns on the board
  wchar_t* instanceName = nullptr;  // owned
  double price = 0;
  const wchar_t* typeText = nullptr;  // static description, not owned
  unsigned char flags = 0;
  int pinCount = 0;
  SchPin* pins = nullptr;  // owned
  // The scheme this block owns, for board and control-panel parts (they
  // create and delete it); FitToPins renumbers its connectors.
  SchScheme* nestedScheme = nullptr;

protected:
  // Called before the instance name is replaced (SetName, Load, the
  // designator operations) with the old and the new text. Change the name
  // through those operations only.
  virtual void InstanceNameChanging(const wchar_t* from, const wchar_t* to);

private:
  // Replaces the owned instance name by a new heap text (or null).
  void ReplaceInstanceName(wchar_t* copy);
  // Leaves the scheme's block list.
  void Unlink();
  // Entries the child array holds for n children: n rounded up to a power
  // of two, 0 for none.
  static int ChildCapacity(int n);
  bool ReserveChildren(int n);
  // Deletes every child, first to last, each handing its own children back
  // to this block (see heir_).
  void DeleteChildren();
  // Appends the children of a block being deleted to this block's children.
  // False when the array cannot grow; the block then keeps them.
  bool TakeChildrenOf(CSCHBlock* block);
  // Set by the parent whose DeleteChildren is deleting this block.
  CSCHBlock* heir_ = nullptr;
  bool ResizePinArray(int n);
  void SetPinWireIndex(int pin, int old);
  void DeletePinWire(int pin);
  void LayoutTwoSidesBody(float width, float length);
};
