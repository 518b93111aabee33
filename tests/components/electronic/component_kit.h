// The component test kit: what a test of one electronic component class
// needs, each in a line or two. Builds on tests/scheme/circuit_fixture.h
// (circuit::Circuit, circuit::Part) and tests/support.
//
//   comptest::Bench bench;                                   // registry filled, own scheme
//   auto* r = bench.Create<CSCHResister>("Resister");        // through the registry, attached
//   auto* plus = bench.Source(5, 1e-5f);                     // 5 V behind 10 uOhm
//   auto* minus = bench.Ground();                            // 0 V behind 10 uOhm
//   bench.Wire(plus, 0, r, 0);
//   bench.Wire(r, 1, minus, 0);
//   comptest::LogCapture log;                                // messages of this test
//   bench.Run(10, 1e-3f);                                    // BuildNets, Start, 10 steps
//   float u = bench.Read(plus, 0);                           // what the source's pin sees
//   bench.Stop();
//
//   comptest::DbRow row(L"resisters", {{"model", "X"}, {"R", "4.7"}, {"units", "1"}});
//   r->ApplyDbRecord(row.Record());
//
//   auto tail = comptest::FieldsAfter<CSCHBlock>(r);         // the record after the base
//   EXPECT_TRUE(velktest::BytesEqual(tail, comptest::Golden().F(4700).B(2).Bytes()));
//   comptest::ForEachTruncation<CSCHResister>("Resister", comptest::SaveBytes(r),
//       [&](CSCHResister* copy, size_t n) { ... });          // every prefix loaded
//
//   comptest::SymbolCanvas symbol(120, 80);                  // Paint into a white bitmap
//   symbol.Paint(r, 10, 10);
//   comptest::FootprintCanvas board(20, 200, 200);           // PaintFootprint, 20 px/mm
//   board.Paint(r);
//   COLORREF c = board.At(0, 0);                             // the part frame's origin
//
// Every helper puts back the program-wide state it changes (the class
// registry, the message log, the host, the model path, the database and
// scheme icons folders), so tests pass in any order.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "components/electronic/electronic_classes.h"
#include "foundation/buffer_failure_scope.h"
#include "foundation/memory_stream.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"
#include "scheme/model/block.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_host.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"
#include "scheme/simulation/sim_log.h"
#include "tests/scheme/circuit_fixture.h"

namespace comptest {

// ------------------------------------------------------------ registry

// While alive, the class registry holds the program's rows with the
// electronic components' creators, as at start-up; the rows found before go
// back when it ends.
class RegistryScope {
public:
  RegistryScope() {
    for (int i = 0; i < g_schClassRegistry.Count(); i++) saved_.push_back(g_schClassRegistry.Row(i));
    g_schClassRegistry.Clear();
    RegisterComponentClasses();
    RegisterElectronicComponentCreators();
  }
  ~RegistryScope() {
    g_schClassRegistry.Clear();
    for (const SchClassRow& row : saved_) g_schClassRegistry.Add(row.name, row.creator);
  }
  RegistryScope(const RegistryScope&) = delete;
  RegistryScope& operator=(const RegistryScope&) = delete;

private:
  std::vector<SchClassRow> saved_;
};

// An object of the class made by its registry creator, attached to no
// scheme, with the class name set as the registry sets it. Null (and a
// test failure) when the class has no creator or is not a T. Needs a
// filled registry (RegistryScope).
template <class T>
std::unique_ptr<T> NewDetached(const char* className) {
  const SchClassRow* row = g_schClassRegistry.Find(className);
  if (!row || !row->creator) {
    ADD_FAILURE() << "no creator for " << className;
    return nullptr;
  }
  CSCHBlock* block = row->creator();
  T* typed = dynamic_cast<T*>(block);
  if (!typed) {
    ADD_FAILURE() << className << " made an object of another class";
    delete block;
    return nullptr;
  }
  typed->className = row->name;
  return std::unique_ptr<T>(typed);
}

// ------------------------------------------------------------ circuits

// A scheme of its own with the run cycle of circuit::Circuit (Wire, Star,
// Build, Start, Step, Run, Stop, Read, NetOf), components created through
// the class registry, and ideal sources. The registry is filled while the
// bench lives.
class Bench : public circuit::Circuit {
public:
  // A component of that registry class, attached to the bench's scheme
  // (SchScheme::CreateBlock: designator, class name). Null and a test
  // failure when creation fails or the object is not a T.
  template <class T>
  T* Create(const char* className) {
    CSCHBlock* block = scheme->CreateBlock(className);
    if (!block) {
      ADD_FAILURE() << "cannot create " << className;
      return nullptr;
    }
    T* typed = dynamic_cast<T*>(block);
    if (!typed) ADD_FAILURE() << className << " made an object of another class";
    return typed;
  }
  // A one-pin part (pin 0) that drives U volts behind R ohms in Start and
  // every step; Drive changes it later.
  circuit::Part* Source(float U, float R = kSchMinResistance) {
    circuit::Part* p = Part(1);
    p->Drive(0, U, R);
    return p;
  }
  // A source of 0 V behind 10 microohms.
  circuit::Part* Ground() { return Source(0, kSchMinResistance); }

  // The full state the pin reads of the rest of its net.
  static SchPinState State(CSCHBlock* b, int pin) {
    SchPinState s = {};
    b->GetPinState(pin, &s);
    return s;
  }

private:
  RegistryScope registry_;
};

// ------------------------------------------------------------ database

// One database record in memory: a table of that name with one column per
// key, in the order given, and one record of those cells (8-bit text, code
// page 1251). Put "model" first: the base ApplyDbRecord reads it, "price"
// and the options from the record.
// The state a test part drives to hand serial data to a component: 5 V
// behind 10 ohm on the first pair, 0 V behind 10 ohm on the second, carrying
// source as serial data.
inline SchPinState SerialDataState(SchSignalSource* source) {
  SchPinState s = {};
  s.U = 5;
  s.R = 10;
  s.U2 = 0;
  s.R2 = 10;
  s.ownR = 5e6f;
  s.sourceKind = kSchSourceSerial;
  s.source = source;
  return s;
}

class DbRow {
public:
  DbRow(const wchar_t* tableName, std::initializer_list<std::pair<const char*, const char*>> cells)
      : table(tableName) {
    std::string captions, keys, choices, values;
    bool first = true;
    for (const auto& cell : cells) {
      const char* sep = first ? "" : "\t";
      captions += sep + std::string(cell.first);
      keys += sep + std::string(cell.first);
      choices += sep;
      values += sep + std::string(cell.second);
      first = false;
    }
    std::string text = "Test table\n" + captions + "\n" + keys + "\n" + choices + "\n" + values + "\n";
    EXPECT_TRUE(table.LoadFromBytes(text.data(), text.size()));
    EXPECT_EQ(1, table.GetRecordCount());
  }
  CompDbRecord* Record() const { return table.GetRecord(0); }

  CompDbTable table;
};

// A table of the sample database that the build copies beside the test
// programs (bin/VelkDB/); the database folder is put back when it goes.
class SampleTable {
public:
  explicit SampleTable(const wchar_t* name) : savedFolder_(GetComponentDbFolder()), table(name) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring exe(path, n);
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"VelkDB\\";
    SetComponentDbFolder(folder.c_str());
    loaded = table.Load();
  }
  ~SampleTable() { SetComponentDbFolder(savedFolder_.empty() ? nullptr : savedFolder_.c_str()); }
  SampleTable(const SampleTable&) = delete;
  SampleTable& operator=(const SampleTable&) = delete;

  // The record whose first cell (the model) is that text in code page 1251.
  CompDbRecord* Find(const char* model) const { return table.FindRecord(model); }

private:
  std::wstring savedFolder_;

public:
  CompDbTable table;
  bool loaded = false;
};

// While alive, the scheme icons folder is the one given (ending with a
// separator); the previous one goes back when it ends.
class IconsFolderScope {
public:
  explicit IconsFolderScope(const std::wstring& folder)
      : saved_(GetSchemeIconsFolder() ? GetSchemeIconsFolder() : L""),
        hadFolder_(GetSchemeIconsFolder() != nullptr) {
    SetSchemeIconsFolder(folder.c_str());
  }
  ~IconsFolderScope() { SetSchemeIconsFolder(hadFolder_ ? saved_.c_str() : nullptr); }
  IconsFolderScope(const IconsFolderScope&) = delete;
  IconsFolderScope& operator=(const IconsFolderScope&) = delete;

private:
  std::wstring saved_;
  bool hadFolder_;
};

// ------------------------------------------------------------ streams

inline std::vector<uint8_t> StreamBytes(const CMemoryStream& s) {
  return std::vector<uint8_t>(s.data, s.data + s.size);
}

// The block's record as its Save writes it.
inline std::vector<uint8_t> SaveBytes(CSCHBlock* block) {
  CMemoryStream s;
  block->Save(&s);
  return StreamBytes(s);
}

// The bytes the block's Save writes after those of Base::Save (the base
// record its own fields follow), e.g. FieldsAfter<CSCHBlock>(resistor) or
// FieldsAfter<CSCHDevice>(battery). A test failure when the full record does
// not begin with the base record.
template <class Base, class T>
std::vector<uint8_t> FieldsAfter(T* block) {
  std::vector<uint8_t> full = SaveBytes(block);
  CMemoryStream base;
  block->Base::Save(&base);
  std::vector<uint8_t> head = StreamBytes(base);
  if (head.size() > full.size() || !std::equal(head.begin(), head.end(), full.begin())) {
    ADD_FAILURE() << "the record does not begin with the base record";
    return {};
  }
  return std::vector<uint8_t>(full.begin() + head.size(), full.end());
}

// Reads bytes into the block with its Load.
inline void LoadBytes(CSCHBlock* block, const std::vector<uint8_t>& bytes) {
  CMemoryStream s;
  if (!bytes.empty()) s.Write(bytes.data(), static_cast<int>(bytes.size()));
  s.Seek(0, 0);
  block->Load(&s);
}

// Loads every prefix of bytes (0 bytes up to all of them) into a fresh
// detached object of the class and calls check(object, prefix length): a
// cut record must load without harm, the fields it holds intact and the
// rest 0.
template <class T>
void ForEachTruncation(const char* className, const std::vector<uint8_t>& bytes,
                       const std::function<void(T*, size_t)>& check) {
  for (size_t n = 0; n <= bytes.size(); n++) {
    std::unique_ptr<T> copy = NewDetached<T>(className);
    if (!copy) return;
    LoadBytes(copy.get(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + n));
    SCOPED_TRACE("prefix of " + std::to_string(n) + " bytes");
    check(copy.get(), n);
  }
}

// The run state as SaveRunState writes it, and read back with LoadRunState.
inline std::vector<uint8_t> SaveRunStateBytes(CSCHBlock* block) {
  CMemoryStream s;
  block->SaveRunState(&s);
  return StreamBytes(s);
}
inline bool LoadRunStateBytes(CSCHBlock* block, const std::vector<uint8_t>& bytes) {
  CMemoryStream s;
  if (!bytes.empty()) s.Write(bytes.data(), static_cast<int>(bytes.size()));
  s.Seek(0, 0);
  return block->LoadRunState(&s);
}

// The scheme written as an "SPH1" stream (every object) and read into a new
// scheme; null and a test failure when the read fails. The linked model path
// is put back. Needs a filled registry (a Bench or RegistryScope).
inline std::unique_ptr<SchScheme> ReadBack(SchScheme* from) {
  std::wstring path = GetModelPath() ? GetModelPath() : L"";
  bool hadPath = GetModelPath() != nullptr;
  unsigned char check = GetModelPathCheck();
  CMemoryStream s;
  from->Write(&s, 0);
  s.Seek(0, 0);
  std::unique_ptr<SchScheme> to(new SchScheme);
  bool ok = to->Read(&s, 0);
  SetModelPathAndCheck(hadPath ? path.c_str() : nullptr, check);
  if (!ok) {
    ADD_FAILURE() << "the scheme stream did not read back";
    return nullptr;
  }
  return to;
}

// Golden bytes written by hand: little-endian fields in order.
//   Golden().F(4700).B(2).I(-1).Bytes()
class Golden {
public:
  Golden& F(float v) { return Raw(&v, 4); }
  Golden& I(int32_t v) { return Raw(&v, 4); }
  Golden& B(int v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Golden& D(double v) { return Raw(&v, 8); }
  Golden& Raw(const void* data, size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + n);
    return *this;
  }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
  std::vector<uint8_t> bytes_;
};

// ------------------------------------------------------------ messages

// The simulation log messages appended while alive; the log is cut back to
// what it held before when it ends.
class LogCapture {
public:
  LogCapture() : start_(SimMessageLog::Global().GetCount()) {}
  ~LogCapture() { SimMessageLog::Global().Resize(start_); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::wstring> Messages() const {
    std::vector<std::wstring> v;
    const SimMessageLog& log = SimMessageLog::Global();
    for (int i = start_; i < log.GetCount(); i++) v.push_back(log.GetItem(i) ? log.GetItem(i) : L"");
    return v;
  }
  int Count() const { return SimMessageLog::Global().GetCount() - start_; }

private:
  int start_;
};

// ------------------------------------------------------------ host

// While alive, the program's host is one that records what Edit asks of it
// (the component viewer on a table, model and options).
class EditHost : public CSchemeHost {
public:
  EditHost() : scope_(this) {}
  void ShowComponentModel(const wchar_t* tableName, const char* model, const char* options) override {
    calls++;
    table = tableName ? tableName : L"";
    this->model = model ? model : "";
    this->options = options ? options : "";
  }
  int calls = 0;
  std::wstring table;
  std::string model, options;

private:
  CSchemeHostScope scope_;
};

// ------------------------------------------------------------ pictures

// The folder build/screenshots/ beside the programs' folder.
inline std::wstring ScreenshotFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  std::wstring bin = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring folder = bin.substr(0, bin.find_last_of(L"\\/") + 1) + L"screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// Writes a bitmap as a 24-bit BMP file into the screenshot folder.
inline bool SaveBitmapFile(HDC dc, HBITMAP bitmap, int width, int height, const std::wstring& name) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  int stride = (width * 3 + 3) & ~3;
  std::vector<uint8_t> bits(static_cast<size_t>(stride) * height);
  if (!GetDIBits(dc, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS)) return false;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
  std::wstring path = ScreenshotFolder() + name;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, &file, sizeof file, &written, nullptr) &&
            WriteFile(h, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
            WriteFile(h, bits.data(), static_cast<DWORD>(bits.size()), &written, nullptr);
  CloseHandle(h);
  return ok;
}

// A white 32-bit bitmap in a memory DC (default pen, font and brush) that a
// component's Paint draws into.
class SymbolCanvas {
public:
  SymbolCanvas(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc, bitmap_);
    Clear();
  }
  ~SymbolCanvas() {
    SelectObject(dc, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc);
  }
  SymbolCanvas(const SymbolCanvas&) = delete;
  SymbolCanvas& operator=(const SymbolCanvas&) = delete;

  void Clear() {
    RECT all = {0, 0, width_, height_};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // Moves the block's symbol to (x, y) and paints it. Answers whether the
  // pen, brush and font selected before are still selected after.
  bool Paint(CSCHBlock* block, int x, int y) {
    block->MoveTo(x, y);
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN), brush = GetCurrentObject(dc, OBJ_BRUSH);
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    block->Paint(dc);
    return pen == GetCurrentObject(dc, OBJ_PEN) && brush == GetCurrentObject(dc, OBJ_BRUSH) &&
           font == GetCurrentObject(dc, OBJ_FONT);
  }
  COLORREF Pixel(int x, int y) const { return GetPixel(dc, x, y); }
  // Pixels in the rectangle [x1, x2) x [y1, y2) that are not white.
  int InkIn(int x1, int y1, int x2, int y2) const {
    int n = 0;
    for (int y = y1; y < y2; y++)
      for (int x = x1; x < x2; x++)
        if (Pixel(x, y) != RGB(255, 255, 255)) n++;
    return n;
  }
  bool Save(const std::wstring& name) const { return SaveBitmapFile(dc, bitmap_, width_, height_, name); }

  HDC dc = nullptr;

private:
  int width_, height_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// A white PcbPainter bitmap with board (0, 0) at its centre, scale pixels a
// millimetre, that a component's PaintFootprint draws into.
class FootprintCanvas {
public:
  FootprintCanvas(float scale, int width, int height) : painter(nullptr, 0, 0, scale, width, height) {
    EXPECT_TRUE(painter.IsReady());
    Clear();
  }
  void Clear() {
    RECT all = {0, 0, painter.width, painter.height};
    FillRect(painter.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // Paints the footprint. Answers whether the pen and brush selected before
  // are still selected after.
  bool Paint(CSCHBlock* block) {
    HGDIOBJ pen = GetCurrentObject(painter.dc, OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(painter.dc, OBJ_BRUSH);
    block->PaintFootprint(&painter);
    return pen == GetCurrentObject(painter.dc, OBJ_PEN) &&
           brush == GetCurrentObject(painter.dc, OBJ_BRUSH);
  }
  // The colour at a point of the last painted part's own frame
  // (millimetres, after its placement).
  COLORREF At(float x, float y) const {
    POINT p = painter.MapPoint(x, y);
    return GetPixel(painter.dc, p.x, p.y);
  }
  // Pixels of the whole bitmap that are not white.
  int InkCount() const {
    int n = 0;
    for (int y = 0; y < painter.height; y++)
      for (int x = 0; x < painter.width; x++)
        if (GetPixel(painter.dc, x, y) != RGB(255, 255, 255)) n++;
    return n;
  }
  bool Save(const std::wstring& name) const {
    return SaveBitmapFile(painter.dc, painter.bitmap, painter.width, painter.height, name);
  }

  PcbPainter painter;
};

// Memory refused anywhere while a chip takes a database row that adds its
// application circuit (a part, a slot among the children, a wire) never
// leaves a part of it outside the chip's children, where deleting the
// circuit would miss it. For every number of blocks the heap grants, a
// fresh bench makes the chip and applies the row; the first try refused
// nothing must add wholeChildren parts.
inline void ExpectCircuitOwnedUnderRefusedMemory(const char* className, int x, int y, const DbRow& row,
                                                 int wholeChildren) {
  bool whole = false;
  for (int grant = 0; grant < 400 && !whole; ++grant) {
    Bench bench;
    CSCHBlock* chip = bench.Create<CSCHBlock>(className);
    ASSERT_NE(chip, nullptr);
    chip->MoveTo(x, y);
    int before = bench.scheme->BlockCount();
    {
      CBufferFailureScope scope(grant);
      chip->ApplyDbRecord(row.Record());
      whole = scope.GetRefusals() == 0;
    }
    ASSERT_EQ(bench.scheme->BlockCount(), before + chip->childCount) << grant;
    for (int i = 0; i < chip->childCount; i++) {
      ASSERT_EQ(chip->children[i]->parent, chip) << grant;
    }
    if (whole) {
      EXPECT_EQ(chip->childCount, wholeChildren);
    }
  }
  EXPECT_TRUE(whole);
}

}  // namespace comptest
