// The block test kit: what a test of one block class of the library needs,
// each in a line or two. Every area of the library (mathematics,
// trigonometry, logic, generators, digital blocks, control links, interface
// devices, microcontroller peripherals, navigation ...) tests its classes
// with it.
//
// Blocks and runs:
//
//   blocktest::Bench bench;                            // the library's catalogue, one scheme
//   auto* add = bench.Create<CBEAdd>(kBeAddClassId);     // BeScheme::CreateBlock: the real class
//   bench.library.Offer(kBePWMDetectorClassId, L"Детектор ШИМ");  // first, for a class that only
//                                                      // a unit's own catalogue lists
//   blocktest::Source* x = bench.Source(kBeSignalChar);  // a settable output of any type
//   x->SetInt(100);                                    // SetFloat, SetDouble, SetBit, SetPwm,
//                                                      // SetMessage, SetBytes, Set (by type)
//   bench.Link(x, add);                                // output 0 -> input 0, checked as the
//                                                      // editor checks (LinkAnyway: unchecked)
//   bench.Pass();                                      // Start once, then one pass of every
//                                                      // block (dt 1 ms); Tick: the budgeted step
//   EXPECT_EQ(-56, blocktest::ReadInt(add));           // output 0 in its type; ReadFloat,
//                                                      // ReadDouble, ReadValue, ValueBytes
//   EXPECT_EQ(blocktest::Costs(1, 2, 0, false), blocktest::CostsOf(add));
//
// Records (golden bytes are written by hand from the record layout; a block
// record is the class's own fields around the base record):
//
//   std::vector<uint8_t> record = blocktest::RecordBytes(add);
//   auto golden = blocktest::Golden().B(2).U32(1)
//                     .Base(blocktest::BaseRecord::Unlinked(add->rect, 1, 1)).Bytes();
//   EXPECT_TRUE(velktest::BytesEqual(record, golden));
//   blocktest::ExpectTruncationsRefused<CBEAdd>(kBeAddClassId, record);  // every cut: false, unchanged
//   blocktest::ForEachTruncation<CBEAdd>(kBeAddClassId, record,
//       [](CBEAdd* fresh, size_t n, bool loaded) { ... });             // or check each prefix
//   std::unique_ptr<BeScheme> copy = bench.ReadBack();                 // the "BE5 " round trip
//
// Drawing (on a white memory bitmap, tests/support/memory_canvas.h):
//
//   blocktest::Canvas canvas(200, 80);
//   EXPECT_TRUE(canvas.Draw(add, 10, 10));             // Draw; the DC's selections put back
//   EXPECT_TRUE(blocktest::DrawsCaption(add, L"ADD 1"));  // same pixels as body + that caption
//   canvas.Ink(10, 10, 110, 30); canvas.At(x, y); canvas.Save(L"library_add.bmp");
//
// Device blocks reach the circuit through the scheme's owner:
//
//   blocktest::FakeOwner& owner = bench.UseFakeOwner(3);  // a CSCHBlock with 3 pins on nets
//   owner.Feed(0, 5.0f, 100.0f);                          // what pin 0 reads of its net
//   owner.SetGround(0.5f, 2.0f);                          // the unit's ground reference
//   owner.Tie(1, 2);                                      // pins 1 and 2 share a net
//   owner.Connect(0, bench.circuit_.Add<CSCHAntenna>(), 0);  // a part on pin 0's net
//   bench.Pass();
//   blocktest::PinDrive d = owner.Drive(1);               // what the block drives on pin 1
//   owner.Drives(1);                                      // every change, pass by pass
//
// Program-wide tables, each put back when its scope ends:
//   blocktest::PayloadScope payloads;     // message values' payloads (ReleaseAll at the end)
//   blocktest::DialogScope dialogs;       // dialogs.Set(kBeAddClassId, MyDialog)
//   blocktest::CreatorScope creators;     // the program's creator table
//   blocktest::LogCapture log;            // the simulation log's new lines
// A Bench answers message boxes itself (recorded in bench.host, with their
// MB_ flags; bench.host.answer = IDNO answers a question with No).
#pragma once

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/engine/block.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/common_groups.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/payload_table.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/device_owner.h"
#include "blocks/library/interfaces/interfaces_classes.h"
#include "blocks/library/mcu/mcu_classes.h"
#include "blocks/library/library_classes.h"
#include "foundation/memory_stream.h"
#include "foundation/stream.h"
#include "kestui/core/kest_host.h"
#include "kestui/core/kest_host_scope.h"
#include "scheme/model/block.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/sim_log.h"
#include "support/memory_canvas.h"
#include "support/test_support.h"
#include "tests/scheme/circuit_fixture.h"

namespace blocktest {

// Class id of the kit's source blocks (hidden group 0 of the catalogue).
const unsigned int kSourceClassId = 0x7E5B0001;

// ------------------------------------------------------------ sources

// A block with one output of any type whose value the test sets. It keeps
// its value between passes. Its record is the type byte, the eight value
// bytes and the base record, so schemes with sources go through streams.
class Source : public CBEBlock {
public:
  explicit Source(BeSignalType type = kBeSignalChar) {
    rect = RECT{0, 0, 60, 20};
    SetOutputCount(1);
    outputs[0]->type = type;
  }
  static CBEBlock* Create() { return new Source; }

  BeSignalType Type() const { return outputs[0]->type; }
  // A type change keeps the value bytes (as a block's type change does).
  void SetType(BeSignalType type) { outputs[0]->type = type; }

  // The low bits of v in the width of char, short or int (the other bytes
  // are cleared); for float, double and bit as Set.
  void SetInt(int64_t v) {
    Clear();
    uint32_t bits = static_cast<uint32_t>(static_cast<uint64_t>(v));
    switch (Type()) {
      case kBeSignalChar: Bytes(&bits, 1); break;
      case kBeSignalShort: Bytes(&bits, 2); break;
      case kBeSignalInt: Bytes(&bits, 4); break;
      default: Set(static_cast<double>(v)); break;
    }
  }
  void SetFloat(float v) {
    Clear();
    Bytes(&v, 4);
  }
  void SetDouble(double v) {
    Clear();
    Bytes(&v, 8);
  }
  void SetBit(bool on) {
    Clear();
    outputs[0]->value[0] = on ? 1 : 0;
  }
  // PWM: bytes 0-3 the period in seconds, 4-7 the duty ratio.
  void SetPwm(float period, float duty) {
    Clear();
    memcpy(outputs[0]->value, &period, 4);
    memcpy(outputs[0]->value + 4, &duty, 4);
  }
  // A message value: an 8-bit counter in byte 0 with the tag in bytes 1-2
  // and byte3 in byte 3, or (wideCounter) a 16-bit counter in bytes 0-1
  // with the tag in bytes 2-3; the payload handle in bytes 4-7.
  void SetMessage(int counter, uint16_t tag, BePayloadHandle handle, bool wideCounter = false,
                  uint8_t byte3 = 0) {
    Clear();
    unsigned char* v = outputs[0]->value;
    if (wideCounter) {
      v[0] = static_cast<unsigned char>(counter);
      v[1] = static_cast<unsigned char>(counter >> 8);
      v[2] = static_cast<unsigned char>(tag);
      v[3] = static_cast<unsigned char>(tag >> 8);
    } else {
      v[0] = static_cast<unsigned char>(counter);
      v[1] = static_cast<unsigned char>(tag);
      v[2] = static_cast<unsigned char>(tag >> 8);
      v[3] = byte3;
    }
    BePutPayloadHandle(v, handle);
  }
  // All eight bytes.
  void SetBytes(const std::vector<uint8_t>& bytes) {
    Clear();
    memcpy(outputs[0]->value, bytes.data(), bytes.size() < 8 ? bytes.size() : 8);
  }
  // v in the output's type: integers truncated toward zero and wrapped in
  // their width (v must be finite), float rounded, bit 1 for nonzero.
  void Set(double v) {
    switch (Type()) {
      case kBeSignalChar:
      case kBeSignalShort:
      case kBeSignalInt: SetInt(static_cast<int64_t>(v)); break;
      case kBeSignalFloat: SetFloat(static_cast<float>(v)); break;
      case kBeSignalDouble: SetDouble(v); break;
      case kBeSignalBit: SetBit(v != 0); break;
      default: SetDouble(v); break;
    }
  }

  void Save(CStream* stream) override {
    stream->WriteByte(Type());
    stream->Write(outputs[0]->value, 8);
    CBEBlock::Save(stream);
  }
  bool Load(CStream* stream) override {
    unsigned char type;
    unsigned char value[8];
    if (!ReadByteChecked(stream, &type) || !ReadExact(stream, value, 8)) return false;
    outputs[0]->type = type;
    memcpy(outputs[0]->value, value, 8);
    return CBEBlock::Load(stream);
  }

private:
  void Clear() { memset(outputs[0]->value, 0, 8); }
  void Bytes(const void* data, size_t n) { memcpy(outputs[0]->value, data, n); }
};

// ------------------------------------------------------------ readings

// Output `out` of the block read in its type.
inline int ReadInt(const CBEBlock* block, int out = 0) {
  const BeOutputPin* pin = block->Output(out);
  if (!pin) {
    ADD_FAILURE() << "no output " << out;
    return 0;
  }
  const unsigned char* v = pin->value;
  switch (pin->type) {
    case kBeSignalBit: return v[0];
    case kBeSignalChar: return static_cast<int8_t>(v[0]);
    case kBeSignalShort: {
      int16_t s;
      memcpy(&s, v, 2);
      return s;
    }
    default: {
      int32_t i;
      memcpy(&i, v, 4);
      return i;
    }
  }
}
inline float ReadFloat(const CBEBlock* block, int out = 0) {
  float f = 0;
  if (block->Output(out)) memcpy(&f, block->Output(out)->value, 4);
  return f;
}
inline double ReadDouble(const CBEBlock* block, int out = 0) {
  double d = 0;
  if (block->Output(out)) memcpy(&d, block->Output(out)->value, 8);
  return d;
}
// char..int and bit as integers, float and double as numbers; 0 otherwise.
inline double ReadValue(const CBEBlock* block, int out = 0) {
  const BeOutputPin* pin = block->Output(out);
  if (!pin) return 0;
  switch (pin->type) {
    case kBeSignalBit:
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: return ReadInt(block, out);
    case kBeSignalFloat: return ReadFloat(block, out);
    case kBeSignalDouble: return ReadDouble(block, out);
    default: return 0;
  }
}
// The eight value bytes.
inline std::vector<uint8_t> ValueBytes(const CBEBlock* block, int out = 0) {
  const BeOutputPin* pin = block->Output(out);
  if (!pin) return {};
  return std::vector<uint8_t>(pin->value, pin->value + 8);
}

// Cycles, ROM, RAM and the shared-routine flag of a block.
struct Costs {
  Costs(int c = 0, int r = 0, int m = 0, bool s = false) : cycles(c), rom(r), ram(m), shared(s) {}
  int cycles, rom, ram;
  bool shared;
  bool operator==(const Costs& o) const {
    return cycles == o.cycles && rom == o.rom && ram == o.ram && shared == o.shared;
  }
  bool operator!=(const Costs& o) const { return !(*this == o); }
};
inline void PrintTo(const Costs& c, std::ostream* os) {
  *os << c.cycles << " cycles, " << c.rom << " ROM, " << c.ram << " RAM" << (c.shared ? ", shared" : "");
}
inline Costs CostsOf(const CBEBlock* block) {
  return Costs(block->cycles, block->rom, block->ram, block->sharedRoutine != 0);
}

// ------------------------------------------------------------ host and scopes

// Records the message boxes of the engine and of the blocks (caption,
// text, MB_ flags) and answers each with `answer` (IDOK unless a test sets
// another button, as IDYES or IDNO for a question).
class KitHost : public CKestHost {
public:
  int ShowMessage(UINT flags, const wchar_t* caption, const wchar_t* text) override {
    captions.push_back(caption ? caption : L"");
    texts.push_back(text ? text : L"");
    styles.push_back(flags);
    return answer;
  }
  std::vector<std::wstring> captions, texts;
  std::vector<UINT> styles;
  int answer = IDOK;
};

// The simulation log's lines added while alive; cut back when it goes.
class LogCapture {
public:
  LogCapture() : start_(SimMessageLog::Global().GetCount()) {}
  ~LogCapture() { SimMessageLog::Global().Resize(start_); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  std::vector<std::wstring> Messages() const {
    std::vector<std::wstring> v;
    const SimMessageLog& log = SimMessageLog::Global();
    for (int i = start_; i < log.GetCount(); ++i) v.push_back(log.GetItem(i) ? log.GetItem(i) : L"");
    return v;
  }

private:
  int start_;
};

// While alive, the program's payload table is the test's: it should hold
// nothing when the scope begins, and every payload is released when it ends.
class PayloadScope {
public:
  PayloadScope() { EXPECT_EQ(0, BePayloadTable::Program().LiveCount()) << "a payload was left behind"; }
  ~PayloadScope() { BePayloadTable::Program().ReleaseAll(); }
  PayloadScope(const PayloadScope&) = delete;
  PayloadScope& operator=(const PayloadScope&) = delete;
  BePayloadTable& Table() { return BePayloadTable::Program(); }
};

// While alive, rows may be set in the program's dialog table; the rows it
// held before come back when it ends.
class DialogScope {
public:
  DialogScope() {
    BeBlockDialogTable& t = BeBlockDialogTable::Program();
    for (int i = 0; i < t.Count(); ++i) saved_.push_back({t.ClassIdAt(i), t.DialogAt(i)});
  }
  ~DialogScope() {
    BeBlockDialogTable& t = BeBlockDialogTable::Program();
    t.Clear();
    for (const auto& row : saved_) t.Set(row.first, row.second);
  }
  DialogScope(const DialogScope&) = delete;
  DialogScope& operator=(const DialogScope&) = delete;
  void Set(unsigned int classId, BeBlockDialog dialog) { BeBlockDialogTable::Program().Set(classId, dialog); }

private:
  std::vector<std::pair<unsigned int, BeBlockDialog>> saved_;
};

// While alive, the program's creator table may change; its rows come back
// when it ends.
class CreatorScope {
public:
  CreatorScope() {
    BeBlockCreatorTable& t = BeBlockCreatorTable::Program();
    for (int i = 0; i < t.Count(); ++i) saved_.push_back({t.ClassIdAt(i), t.CreatorAt(i)});
  }
  ~CreatorScope() {
    BeBlockCreatorTable& t = BeBlockCreatorTable::Program();
    t.Clear();
    for (const auto& row : saved_) t.Set(row.first, row.second);
  }
  CreatorScope(const CreatorScope&) = delete;
  CreatorScope& operator=(const CreatorScope&) = delete;

private:
  std::vector<std::pair<unsigned int, BeBlockCreator>> saved_;
};

// ------------------------------------------------------------ catalogue

// A unit-like catalogue: group 0 with the kit's source and the device
// blocks of both computers and of the microcontroller, then the common
// groups with the library's creators (from a table of its own, so the
// program's table is not touched).
class LibraryCatalogue {
public:
  LibraryCatalogue() {
    BeCatalogueGroup* hidden = catalogue.AddGroup(nullptr);
    hidden->AddEntry(kSourceClassId, Source::Create, L"Источник", nullptr);
    EXPECT_TRUE(RegisterBlockLibraryCreators(&creators));
    EXPECT_TRUE(AddDeviceEntries(hidden, kBoardComputerDeviceRows, kBoardComputerDeviceRowCount, creators));
    EXPECT_TRUE(AddDeviceEntries(hidden, kPultComputerDeviceRows, kPultComputerDeviceRowCount, creators));
    EXPECT_TRUE(AddDeviceEntries(hidden, kAvrDeviceRows, kAvrDeviceRowCount, creators));
    EXPECT_TRUE(AddCommonCatalogueGroups(&catalogue, creators));
  }
  // Offers a class of the library that only a unit's own catalogue lists
  // (not the common groups) under its catalogue caption and picture, in a
  // group of the kit's own at the end ("Блоки устройств"). False when the
  // library has no creator for the class or memory ran out.
  bool Offer(unsigned int classId, const wchar_t* caption, const wchar_t* bitmap = nullptr) {
    BeBlockCreator creator = creators.Find(classId);
    if (!creator) return false;
    if (!unitGroup_) unitGroup_ = catalogue.AddGroup(kUnitGroupName);
    return unitGroup_ && unitGroup_->AddEntry(classId, creator, caption, bitmap);
  }
  static constexpr const wchar_t* kUnitGroupName = L"Блоки устройств";
  // The group of the common groups with that name, or null.
  const BeCatalogueGroup* Group(const wchar_t* name) const {
    for (int i = 1; i < catalogue.groupCount; ++i)
      if (catalogue.Group(i)->name && wcscmp(catalogue.Group(i)->name, name) == 0) return catalogue.Group(i);
    return nullptr;
  }
  BeBlockCreatorTable creators;
  BeCatalogue catalogue;

private:
  BeCatalogueGroup* unitGroup_ = nullptr;
};

// A block of the class made by the library's creator and given the
// catalogue's entry, in no scheme; null and a test failure when the class
// has no creator or makes no T. A class that only a unit's catalogue lists
// (see LibraryCatalogue::Offer) is made by its creator without an entry.
template <class T>
std::unique_ptr<T> NewDetached(unsigned int classId) {
  static LibraryCatalogue library;
  const BeCatalogueEntry* entry = library.catalogue.FindEntry(classId);
  BeBlockCreator creator = entry ? entry->creator : library.creators.Find(classId);
  if (!creator) {
    ADD_FAILURE() << "no creator for class 0x" << std::hex << classId;
    return nullptr;
  }
  CBEBlock* block = creator();
  T* typed = dynamic_cast<T*>(block);
  if (!typed) {
    ADD_FAILURE() << "class 0x" << std::hex << classId << " made an object of another class";
    delete block;
    return nullptr;
  }
  typed->entry = entry;
  return std::unique_ptr<T>(typed);
}

// ------------------------------------------------------------ the owner

// What one pin of the owner drives onto its net.
struct PinDrive {
  float U = 0, R = 0;    // the first pair (the idle level)
  float U2 = 0, R2 = 0;  // the second pair (the other level of a data line)
  int sourceKind = 0;
  SchSignalSource* source = nullptr;
  bool operator==(const PinDrive& o) const {
    return U == o.U && R == o.R && U2 == o.U2 && R2 == o.R2 && sourceKind == o.sourceKind &&
           source == o.source;
  }
  bool operator!=(const PinDrive& o) const { return !(*this == o); }
};
inline void PrintTo(const PinDrive& d, std::ostream* os) {
  *os << d.U << " V / " << d.R << " Ohm, " << d.U2 << " V / " << d.R2 << " Ohm, source kind "
      << d.sourceKind << (d.source ? " with a source" : "");
}

// The programmable unit a device block reaches through its scheme's owner:
// a circuit component with n pins, each wired to a pin of a world part of
// its own circuit, so the pin operations (SetPinState, GetPinState ...)
// work as in a run. The test sets what each pin reads with Feed and sees
// what the block drove with Drive; the bench records every change of a
// pin's drive after each pass (Drives). As a unit does, it offers its
// device blocks a ground reference (BeDeviceOwner; 0 V behind 0 ohms until
// SetGround).
class FakeOwner : public CSCHBlock, public BeDeviceOwner {
public:
  explicit FakeOwner(int pins) : world_(nullptr), circuit_(nullptr) {
    namePrefix = L"U";
    className = "FakeOwner";
    SetPinCount(pins);
    for (int i = 0; i < pinCount; ++i) this->pins[i].number = i + 1;
    drives_.resize(pins);
  }
  // Joins the circuit: the world part and the wires, then the nets.
  void Join(circuit::Circuit* circuit) {
    Attach(circuit->scheme);
    circuit_ = circuit;
    world_ = circuit->Part(pinCount);
    for (int i = 0; i < pinCount; ++i) circuit->Wire(this, i, world_, i);
    Rebuild();
  }
  // Pins a and b (and the world's pins a and b) share one net from now on.
  // Nets are built again: call it before the feeds and the run.
  void Tie(int a, int b) {
    if (!circuit_) return;
    circuit_->Wire(this, a, this, b);
    Rebuild();
  }
  // The part's pin joins the net of the owner's pin (nets built again).
  void Connect(int pin, CSCHBlock* part, int partPin) {
    if (!circuit_ || !part) return;
    circuit_->Wire(this, pin, part, partPin);
    Rebuild();
  }
  // The rest of pin's net drives U volts behind R ohms from now on.
  void Feed(int pin, float U, float R) {
    if (world_) world_->Drive(pin, U, R);
  }
  // The ground reference the device blocks read.
  void SetGround(float U, float R) {
    groundU_ = U;
    groundR_ = R;
  }
  void GetGroundReference(float* U, float* R) const override {
    *U = groundU_;
    *R = groundR_;
  }
  // The net of a pin (null when unwired).
  SchNet* Net(int pin) const { return pin >= 0 && pin < pinCount ? pins[pin].net : nullptr; }
  // What the pin reads of the rest of its net.
  SchPinState Reads(int pin) const {
    SchPinState s = {};
    GetPinState(pin, &s);
    return s;
  }
  // What the pin drives now.
  PinDrive Drive(int pin) const {
    PinDrive d;
    if (pin < 0 || pin >= pinCount) return d;
    const SchPin& p = pins[pin];
    d.U = Quotient(p.I, p.G);
    d.R = Quotient(1.0f, p.G);
    d.U2 = Quotient(p.I2, p.G2);
    d.R2 = Quotient(1.0f, p.G2);
    d.sourceKind = p.sourceKind;
    d.source = p.source;
    return d;
  }
  // The pin's drives, one entry per change seen after a pass (the first
  // pass records the drive it left).
  const std::vector<PinDrive>& Drives(int pin) const { return drives_[pin]; }
  void ClearDrives() {
    for (auto& d : drives_) d.clear();
  }
  // Called by the bench after every pass.
  void Record() {
    for (int i = 0; i < pinCount; ++i) {
      PinDrive d = Drive(i);
      if (drives_[i].empty() || drives_[i].back() != d) drives_[i].push_back(d);
    }
  }

private:
  // a / b rounded to a float (0 without a conductance): the 32-bit build's
  // x87 unit would otherwise keep the wider quotient, and two readings of
  // one drive would differ.
  static float Quotient(float a, float b) {
    if (!(b > 0)) return 0;
    volatile float q = a / b;
    return q;
  }
  // Builds the nets and sums every pin's present drive into them, as the
  // start of a run does.
  void Rebuild() {
    circuit_->Build();
    for (SchNet* net = circuit_->scheme->nets; net; net = net->next) net->Recalculate();
  }
  circuit::Part* world_;
  circuit::Circuit* circuit_;
  float groundU_ = 0, groundR_ = 0;
  std::vector<std::vector<PinDrive>> drives_;
};

// ------------------------------------------------------------ the bench

// One block scheme on the library's catalogue, with the kit's sources and
// a host that answers message boxes.
class Bench {
public:
  Bench() { scheme.Init(&library.catalogue); }
  ~Bench() {
    scheme.DeleteBlocks(true);
    // The owner's circuit goes after the blocks that reached it.
    scheme.owner = nullptr;
  }
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  // A block of the first catalogue entry with that id (BeScheme::CreateBlock:
  // the entry kept, placed at the head of the list). Null and a test
  // failure when creation fails or the block is not a T.
  template <class T>
  T* Create(unsigned int classId) {
    CBEBlock* block = scheme.CreateBlock(classId);
    if (!block) {
      ADD_FAILURE() << "cannot create class 0x" << std::hex << classId;
      return nullptr;
    }
    T* typed = dynamic_cast<T*>(block);
    if (!typed) ADD_FAILURE() << "class 0x" << std::hex << classId << " made an object of another class";
    return typed;
  }
  // A source of that type in the scheme.
  blocktest::Source* Source(BeSignalType type) {
    auto* s = Create<blocktest::Source>(kSourceClassId);
    if (s) s->SetType(type);
    return s;
  }

  // Input `in` of to reads output `out` of from. Link checks the types as
  // the editor does (IsSignalTypeCompatible) and fails the test when they
  // do not fit; LinkAnyway links as a read stream may.
  void Link(CBEBlock* from, int out, CBEBlock* to, int in) {
    ASSERT_TRUE(from && to && from->Output(out) && to->Input(in));
    EXPECT_TRUE(IsSignalTypeCompatible(from->Output(out)->type, to->Input(in)->type))
        << "output type " << from->Output(out)->type << " into input type " << to->Input(in)->type;
    to->Input(in)->source = from->Output(out);
  }
  void Link(CBEBlock* from, CBEBlock* to, int in = 0) { Link(from, 0, to, in); }
  void LinkAnyway(CBEBlock* from, int out, CBEBlock* to, int in) {
    ASSERT_TRUE(from && to && from->Output(out) && to->Input(in));
    to->Input(in)->source = from->Output(out);
  }
  void Unlink(CBEBlock* to, int in = 0) {
    if (to && to->Input(in)) to->Input(in)->source = nullptr;
  }

  // BeScheme::Start (once before the first pass; again after Stop).
  void Start() { scheme.Start(); }
  // One pass: every block, from the list head, steps once with dt, whatever
  // its cycles (the run's budget is left out), then the fake owner records
  // its pins. Starts the scheme first when it is not running.
  void Pass(float dt = 0.001f) {
    if (!scheme.running) Start();
    for (CBEBlock* block = scheme.blocks; block; block = block->next) block->Step(dt);
    if (owner_) owner_->Record();
  }
  void Passes(int n, float dt = 0.001f) {
    for (int i = 0; i < n; ++i) Pass(dt);
  }
  // BeScheme::Step: the run with its cycle budget (a pass only when the
  // ticks have paid for the last one).
  void Tick(float dt = 0.001f) {
    if (!scheme.running) Start();
    scheme.Step(dt);
    if (owner_) owner_->Record();
  }
  void Stop() { scheme.Stop(); }

  // A fake owner with that many pins becomes the scheme's owner.
  FakeOwner& UseFakeOwner(int pins) {
    owner_ = new FakeOwner(pins);
    owner_->Join(&circuit_);
    scheme.owner = owner_;
    return *owner_;
  }
  FakeOwner* Owner() const { return owner_; }

  // The scheme as a "BE5 " stream, and read back into a new scheme of the
  // same catalogue (null and a test failure when the read fails).
  std::vector<uint8_t> SchemeBytes() {
    CMemoryStream s;
    scheme.Save(&s, false);
    return std::vector<uint8_t>(s.data, s.data + s.size);
  }
  std::unique_ptr<BeScheme> ReadBack() {
    std::vector<uint8_t> bytes = SchemeBytes();
    CMemoryStream s;
    s.Write(bytes.data(), static_cast<int>(bytes.size()));
    s.Seek(0, 0);
    std::unique_ptr<BeScheme> copy(new BeScheme);
    copy->Init(&library.catalogue);
    copy->romLimit = scheme.romLimit;
    copy->ramLimit = scheme.ramLimit;
    if (!copy->Load(&s, false)) {
      ADD_FAILURE() << "the scheme stream did not read back";
      return nullptr;
    }
    return copy;
  }

  KitHost host;
  CKestHostScope hostScope{&host};
  LibraryCatalogue library;
  // The owner's circuit outlives the scheme's blocks (declared before).
  circuit::Circuit circuit_;
  BeScheme scheme;

private:
  FakeOwner* owner_ = nullptr;  // lives in circuit_'s scheme
};

// The blocks of a scheme, from the head, that are T.
template <class T>
std::vector<T*> BlocksOf(const BeScheme* scheme) {
  std::vector<T*> found;
  for (CBEBlock* b = scheme->blocks; b; b = b->next)
    if (T* t = dynamic_cast<T*>(b)) found.push_back(t);
  return found;
}

// ------------------------------------------------------------ records

inline std::vector<uint8_t> StreamBytes(const CMemoryStream& s) {
  return std::vector<uint8_t>(s.data, s.data + s.size);
}
// The record the block's Save writes.
inline std::vector<uint8_t> RecordBytes(CBEBlock* block) {
  CMemoryStream s;
  block->Save(&s);
  return StreamBytes(s);
}
// The base record alone (CBEBlock::Save).
inline std::vector<uint8_t> BaseRecordBytes(CBEBlock* block) {
  CMemoryStream s;
  block->CBEBlock::Save(&s);
  return StreamBytes(s);
}
// Loads the bytes with the block's Load; its answer.
inline bool LoadBytes(CBEBlock* block, const std::vector<uint8_t>& bytes) {
  CMemoryStream s;
  if (!bytes.empty()) s.Write(bytes.data(), static_cast<int>(bytes.size()));
  s.Seek(0, 0);
  return block->Load(&s);
}

// The base record of a block, as the fields it holds: the rectangle, the
// own caption (null: none), the flags byte, per input the source's stream
// identity and the route, per output its identity and hardware byte.
struct BaseRecord {
  struct Input {
    int32_t source = 0, x1 = 0, y = 0, x2 = 0;
  };
  struct Output {
    int32_t id = 0;
    uint8_t hardware = 0;
  };
  RECT rect = {0, 0, 0, 0};
  const wchar_t* caption = nullptr;
  uint8_t flags = 0;
  std::vector<Input> inputs;
  std::vector<Output> outputs;
  // A block outside a stream: no caption, no flags, no links, identities 0.
  static BaseRecord Unlinked(const RECT& rect, int inputs, int outputs) {
    BaseRecord r;
    r.rect = rect;
    r.inputs.resize(inputs);
    r.outputs.resize(outputs);
    return r;
  }
};

// Golden bytes written by hand: little-endian fields in order.
//   Golden().B(2).U32(1).Base(BaseRecord::Unlinked(rect, 1, 1)).Bytes()
class Golden {
public:
  Golden& B(int v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Golden& I16(int v) {
    B(v & 0xFF);
    return B((v >> 8) & 0xFF);
  }
  Golden& I32(int32_t v) { return Raw(&v, 4); }
  Golden& U32(uint32_t v) { return Raw(&v, 4); }
  Golden& F(float v) { return Raw(&v, 4); }
  Golden& D(double v) { return Raw(&v, 8); }
  // A UTF-16 string and its terminator; null writes the terminator alone.
  Golden& WStr(const wchar_t* text) {
    for (const wchar_t* p = text; p && *p; ++p) I16(*p);
    return I16(0);
  }
  Golden& Raw(const void* data, size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + n);
    return *this;
  }
  Golden& Base(const BaseRecord& r) {
    I32(r.rect.left).I32(r.rect.top).I32(r.rect.right).I32(r.rect.bottom);
    WStr(r.caption).B(r.flags);
    for (const BaseRecord::Input& in : r.inputs) I32(in.source).I32(in.x1).I32(in.y).I32(in.x2);
    for (const BaseRecord::Output& out : r.outputs) I32(out.id).B(out.hardware);
    return *this;
  }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
  std::vector<uint8_t> bytes_;
};

// Loads every prefix of bytes (none up to all of them) into a fresh
// detached block of the class and calls check(block, prefix length, what
// Load answered).
template <class T>
void ForEachTruncation(unsigned int classId, const std::vector<uint8_t>& bytes,
                       const std::function<void(T*, size_t, bool)>& check) {
  for (size_t n = 0; n <= bytes.size(); ++n) {
    std::unique_ptr<T> fresh = NewDetached<T>(classId);
    if (!fresh) return;
    SCOPED_TRACE("prefix of " + std::to_string(n) + " bytes");
    bool loaded = LoadBytes(fresh.get(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + n));
    check(fresh.get(), n, loaded);
  }
}

// Every proper prefix of a record (with an empty caption) is refused and
// leaves the block as a new one is: its record and costs unchanged. The
// whole record loads, and the block then writes it back unchanged.
template <class T>
void ExpectTruncationsRefused(unsigned int classId, const std::vector<uint8_t>& bytes) {
  std::unique_ptr<T> model = NewDetached<T>(classId);
  if (!model) return;
  std::vector<uint8_t> untouched = RecordBytes(model.get());
  Costs costs = CostsOf(model.get());
  ForEachTruncation<T>(classId, bytes, [&](T* block, size_t n, bool loaded) {
    if (n < bytes.size()) {
      EXPECT_FALSE(loaded);
      EXPECT_TRUE(velktest::BytesEqual(RecordBytes(block), untouched));
      EXPECT_EQ(costs, CostsOf(block));
    } else {
      EXPECT_TRUE(loaded);
      EXPECT_TRUE(velktest::BytesEqual(RecordBytes(block), bytes));
    }
  });
}

// ------------------------------------------------------------ drawing

// A white memory bitmap that blocks draw into.
class Canvas {
public:
  Canvas(int width, int height) : canvas_(width, height), width_(width), height_(height) {}
  HDC dc() const { return canvas_.dc(); }
  // Moves the block's top-left corner to (x, y) and runs its Draw (body and
  // text, no pins). Answers whether the pen, brush and font selected before
  // are selected after.
  bool Draw(CBEBlock* block, int x, int y) {
    block->MoveTo(x, y);
    HDC d = dc();
    HGDIOBJ pen = GetCurrentObject(d, OBJ_PEN), brush = GetCurrentObject(d, OBJ_BRUSH);
    HGDIOBJ font = GetCurrentObject(d, OBJ_FONT);
    block->Draw(d);
    return pen == GetCurrentObject(d, OBJ_PEN) && brush == GetCurrentObject(d, OBJ_BRUSH) &&
           font == GetCurrentObject(d, OBJ_FONT);
  }
  // The whole block as the view paints it (CBEBlock::Paint, forced).
  void Paint(CBEBlock* block, int x, int y) {
    block->MoveTo(x, y);
    block->Paint(dc(), true);
  }
  COLORREF At(int x, int y) const { return canvas_.At(x, y); }
  // Pixels of [x0, x1] x [y0, y1] that are not white / that have the colour.
  int Ink(int x0, int y0, int x1, int y1) const {
    return (x1 - x0 + 1) * (y1 - y0 + 1) - canvas_.Count(x0, y0, x1, y1, RGB(255, 255, 255));
  }
  int Count(int x0, int y0, int x1, int y1, COLORREF color) const {
    return canvas_.Count(x0, y0, x1, y1, color);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Under build/screenshots/.
  void Save(const wchar_t* name) const { canvas_.Save(name); }

private:
  velktest::MemoryCanvas canvas_;
  int width_, height_;
};

// Whether two canvases of one size hold the same pixels; the first
// difference otherwise.
inline ::testing::AssertionResult SamePixels(const Canvas& a, const Canvas& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height())
    return ::testing::AssertionFailure() << "canvases of different sizes";
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y))
        return ::testing::AssertionFailure() << "first difference at (" << x << ", " << y << "): 0x"
                                             << std::hex << a.At(x, y) << " against 0x" << b.At(x, y);
  return ::testing::AssertionSuccess();
}

// Whether the block's Draw gives the same pixels as a plain block of its
// rectangle and body colour drawing its body and then the text centred
// (CBEBlock::DrawBody, CBEBlock::DrawCaptionCentered); a null text: the
// body alone.
inline ::testing::AssertionResult DrawsCaption(CBEBlock* block, const wchar_t* text) {
  const int margin = 10;
  int w = block->Width() + 2 * margin, h = block->Height() + 2 * margin;
  Canvas drawn(w, h), expected(w, h);
  RECT was = block->rect;
  drawn.Draw(block, margin, margin);
  block->rect = was;
  CBEBlock reference;
  reference.rect = RECT{margin, margin, margin + block->Width(), margin + block->Height()};
  reference.fillColor = block->fillColor;
  reference.DrawBody(expected.dc());
  if (text) reference.DrawCaptionCentered(expected.dc(), text);
  ::testing::AssertionResult same = SamePixels(drawn, expected);
  if (!same) return same << " (the caption expected: \"" << (text ? text : L"") << "\")";
  return same;
}

// The folder of the scheme icons copied beside the test programs.
inline std::wstring ShippedIconsFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"schemeIcons\\";
}

}  // namespace blocktest
