// Writes and reads back generated schemes of n blocks and 2n wires and
// prints the times; reading has to grow linearly with the scheme. Then reads
// and deletes streams of 2.5, 5 and 10 MB of blocks of many shapes (families
// far deeper than the stack, very wide ones, rings of children, measuring
// devices by the hundred thousand): both have to grow linearly with the size
// of the stream.
//
//   scheme_stream_bench.exe [blocks...]      (default 2500 5000 10000)
//   scheme_stream_bench.exe --shapes [MB]    only the shapes, largest size MB
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "foundation/memory_stream.h"
#include "scheme/model/block.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "scheme/parts/measure_device.h"

namespace {

// Four pins: two in on the left, two out on the right.
class BenchPart : public CSCHBlock {
public:
  BenchPart() {
    SetPinCount(4);
    for (int i = 0; i < 4; i++) pins[i].side = i < 2 ? kSchSideLeft : kSchSideRight;
  }
};

CSCHBlock* NewBenchPart() { return new BenchPart; }

using velkbench::Now;

void Link(SchWire* w, int end, CSCHBlock* b, int pin) {
  w->endKind[end] = kSchWireEndPin;
  w->ends[end].target = b;
  w->ends[end].index = pin;
  b->pins[pin].wire = w;
  b->pins[pin].wireEnd = static_cast<unsigned char>(end);
}

// n blocks in a ring, each output pin wired to an input of the next block.
void Generate(SchScheme* s, int n) {
  std::vector<CSCHBlock*> blocks(n);
  for (int i = 0; i < n; i++) {
    CSCHBlock* b = new BenchPart;
    b->className = "Bench";
    // Linked directly: Attach would look at every block placed before.
    b->scheme = s;
    b->next = s->blocks;
    if (b->next) b->next->prev = b;
    else s->lastBlock = b;
    s->blocks = b;
    b->rect = RECT{100 + (i % 100) * 120, 50 + (i / 100) * 160, 180 + (i % 100) * 120, 150 + (i / 100) * 160};
    wchar_t name[16];
    swprintf(name, 16, L"B%d", i + 1);
    b->SetName(name);
    b->SetModel("BENCH-1");
    blocks[i] = b;
  }
  for (int i = 0; i < n; i++) {
    for (int k = 0; k < 2; k++) {
      SchWire* w = new SchWire(s);
      w->firstDir = 2;
      w->SetCoordinateCount(1);
      w->coords[0] = blocks[i]->rect.right + 20;
      Link(w, 0, blocks[i], 2 + k);
      Link(w, 1, blocks[(i + 1) % n], k);
    }
  }
}

struct Result {
  int blocks;
  int bytes;
  double write;
  double read;
};

Result Measure(int n, int repeats) {
  SchScheme source;
  Generate(&source, n);
  Result r = {n, 0, 1e9, 1e9};
  for (int k = 0; k < repeats; k++) {
    CMemoryStream m;
    m.granularity = 1 << 20;
    double t0 = Now();
    source.Write(&m, 0);
    double t1 = Now();
    r.write = std::min(r.write, t1 - t0);
    r.bytes = m.size;

    SchScheme* copy = new SchScheme;
    m.Seek(0, 0);
    double t2 = Now();
    bool ok = copy->Read(&m, 0);
    double t3 = Now();
    r.read = std::min(r.read, t3 - t2);
    if (!ok || copy->BlockCount() != n || copy->WireCount() != 2 * n) {
      printf("read back failed for %d blocks\n", n);
      exit(1);
    }
    // The whole ring must come back joined.
    for (CSCHBlock* b = copy->blocks; b; b = b->next)
      for (int p = 0; p < b->pinCount; p++)
        if (!b->pins[p].wire) {
          printf("pin without wire after reading %d blocks\n", n);
          exit(1);
        }
    // Not timed: emptying is the model's business.
    while (copy->wires) delete copy->wires;
    while (copy->blocks) delete copy->blocks;
    delete copy;
  }
  while (source.wires) delete source.wires;
  while (source.blocks) delete source.blocks;
  return r;
}

// ---------------------------------------------------------------- shapes

// A stream of blocks written field by field: every block has the base
// record alone (as the ground, the fittings and the multimeter do), with the
// pin count of its class, no wires, and the children the shape gives it.
class ShapeStream {
public:
  void Begin(int blocks) {
    bytes.clear();
    bytes.insert(bytes.end(), {'S', 'P', 'H', '1'});
    I32(208);
    I32(blocks);
  }
  void Block(const char* className, int pins, int id, const wchar_t* name, const std::vector<int>& children) {
    bytes.insert(bytes.end(), className, className + strlen(className) + 1);
    I32(id);
    bytes.push_back(0);  // flags
    for (const wchar_t* c = name; c && *c; c++) {
      bytes.push_back(static_cast<uint8_t>(*c & 0xFF));
      bytes.push_back(static_cast<uint8_t>(*c >> 8));
    }
    bytes.insert(bytes.end(), 2 + 1 + 1 + 2 + 8, 0);  // name end, model, options, table, price
    I32(100);
    I32(50 + id % 1000 * 20);
    I32(112);
    I32(58 + id % 1000 * 20);
    bytes.insert(bytes.end(), 4 * pins + 4 + 4 + 1, 0);  // pin wires, board x, y, orientation
    bytes.push_back(static_cast<uint8_t>(children.size()));
    for (int c : children) I32(c);
  }
  void End() {
    bytes.insert(bytes.end(), 2, 0);  // no model path
    I32(0);                           // wires
    bytes.push_back(0x99);            // check byte
    I32(0);                           // junctions
    I32(0);                           // buses
  }
  void I32(int v) {
    for (int i = 0; i < 4; i++) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
  }
  std::vector<uint8_t> bytes;
};

// Bytes of one block record with k children and no name.
int RecordBytes(const char* className, int pins, int k) {
  return static_cast<int>(strlen(className)) + 1 + 4 + 1 + 2 + 12 + 16 + 4 * pins + 9 + 1 + 4 * k;
}

struct Shape {
  const char* what;
  const char* className;
  int pins;
  int childrenPerBlock;  // for sizing the stream
  // The children of block i (identity i + 1) of n.
  std::function<std::vector<int>(int i, int n)> children;
  // The name of block i, null for none.
  std::function<const wchar_t*(int i)> name;
};

unsigned g_seed = 1;
int Random(int n) {
  g_seed = g_seed * 1103515245u + 12345u;
  return static_cast<int>((g_seed >> 8) % static_cast<unsigned>(n));
}

std::vector<Shape> Shapes() {
  static const wchar_t* kLetters[] = {L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H", L"I",
                                      L"J", L"K", L"L", L"M", L"N", L"O", L"P", L"Q", L"R",
                                      L"S", L"T", L"U", L"V", L"W", L"X", L"Y", L"Z"};
  using V = std::vector<int>;
  return {
      {"grounds, no family", "GND", 1, 0, [](int, int) { return V(); }, nullptr},
      {"chain, each the parent of the previous", "GND", 1, 1,
       [](int i, int) { return i > 0 ? V{i} : V(); }, nullptr},
      {"chain, each the parent of the next", "GND", 1, 1,
       [](int i, int n) { return i + 1 < n ? V{i + 2} : V(); }, nullptr},
      {"ring of children, forward", "GND", 1, 1, [](int i, int n) { return V{(i + 1) % n + 1}; }, nullptr},
      {"ring of children, backward", "GND", 1, 1, [](int i, int n) { return V{(i + n - 1) % n + 1}; }, nullptr},
      {"families of 255 children", "GND", 1, 1,
       [](int i, int n) {
         V v;
         if (i % 256 == 0)
           for (int k = 1; k < 256 && i + k < n; k++) v.push_back(i + k + 1);
         return v;
       },
       nullptr},
      {"chain with 254 leaves a generation", "GND", 1, 1,
       [](int i, int n) {
         // Generation heads every 255 blocks; the next head named last, so
         // that it is deleted first and hands its children up.
         V v;
         if (i % 255 == 0) {
           for (int k = 1; k < 255 && i + k < n; k++) v.push_back(i + k + 1);
           if (i + 255 < n) v.push_back(i + 256);
         }
         return v;
       },
       nullptr},
      {"binary tree", "GND", 1, 1,
       [](int i, int n) {
         V v;
         for (int c = 2 * i + 1; c <= 2 * i + 2 && c < n; c++) v.push_back(c + 1);
         return v;
       },
       nullptr},
      {"random children, rings included", "GND", 1, 3,
       [](int, int n) {
         V v;
         for (int k = Random(7); k > 0; k--) v.push_back(Random(n) + 1);
         return v;
       },
       nullptr},
      {"T fittings, each the parent of the previous", "T_GIDRO", 3, 1,
       [](int i, int) { return i > 0 ? V{i} : V(); }, nullptr},
      {"unnamed multimeters", "Multimeter", 2, 0, [](int, int) { return V(); }, nullptr},
      {"multimeters named A to Z", "Multimeter", 2, 0, [](int, int) { return V(); },
       [](int i) { return kLetters[i % 26]; }},
  };
}

struct ShapeResult {
  int blocks;
  int bytes;
  double read;
  double remove;
};

ShapeResult MeasureShape(const Shape& shape, int targetBytes, int repeats) {
  int per = RecordBytes(shape.className, shape.pins, shape.childrenPerBlock);
  int n = targetBytes / per;
  g_seed = 12345;
  ShapeStream stream;
  stream.Begin(n);
  for (int i = 0; i < n; i++) stream.Block(shape.className, shape.pins, i + 1, shape.name ? shape.name(i) : nullptr,
                                           shape.children(i, n));
  stream.End();
  ShapeResult r = {n, static_cast<int>(stream.bytes.size()), 1e9, 1e9};
  CMemoryStream m;
  m.granularity = 1 << 20;
  m.Write(stream.bytes.data(), static_cast<int>(stream.bytes.size()));
  for (int k = 0; k < repeats; k++) {
    SchScheme* s = new SchScheme;
    m.Seek(0, 0);
    double t0 = Now();
    bool ok = s->Read(&m, 0);
    double t1 = Now();
    if (!ok || s->BlockCount() != n) {
      printf("%s: read back failed\n", shape.what);
      exit(1);
    }
    delete s;
    double t2 = Now();
    r.read = std::min(r.read, t1 - t0);
    r.remove = std::min(r.remove, t2 - t1);
    if (CSCHMeasureDevice::GetListCount() != 0) {
      printf("%s: measuring devices left in their list\n", shape.what);
      exit(1);
    }
  }
  return r;
}

// Reads and deletes every shape at a quarter, half and all of maxBytes; the
// largest may take at most 1.75 times the time per byte of the smallest.
// Shapes of random links chase pointers across the whole heap, and that
// costs more per block as the heap grows (about 1.2 times per doubling
// here); a step that is quadratic would cost 4 times as much per byte.
bool RunShapes(int maxBytes) {
  RegisterComponentClasses();
  bool linear = true;
  printf("\n%-44s %8s %10s %10s %10s %8s %8s\n", "shape", "blocks", "bytes", "read ms", "delete ms", "read x",
         "delete x");
  for (const Shape& shape : Shapes()) {
    std::vector<ShapeResult> results;
    for (int part : {4, 2, 1}) results.push_back(MeasureShape(shape, maxBytes / part, 3));
    const ShapeResult& a = results.front();
    const ShapeResult& b = results.back();
    double scale = static_cast<double>(b.bytes) / a.bytes;
    double readRatio = b.read / std::max(a.read, 1e-6);
    double removeRatio = b.remove / std::max(a.remove, 1e-6);
    for (const ShapeResult& r : results)
      printf("%-44s %8d %10d %10.2f %10.2f\n", shape.what, r.blocks, r.bytes, r.read * 1000, r.remove * 1000);
    // Times under a few milliseconds are noise; they pass.
    bool readOk = readRatio <= scale * 1.75 || b.read < 0.005;
    bool removeOk = removeRatio <= scale * 1.75 || b.remove < 0.005;
    printf("%-44s %8s %10s %10s %10s %7.2f%s %7.2f%s  (%.1f times the size)\n", "", "", "", "", "", readRatio,
           readOk ? " " : "!", removeRatio, removeOk ? " " : "!", scale);
    if (!readOk || !removeOk) linear = false;
  }
  if (!linear) printf("a shape does not read or delete in linear time\n");
  return linear;
}

}  // namespace

int main(int argc, char** argv) {
  g_schClassRegistry.Add("Bench", NewBenchPart);
  if (argc >= 2 && strcmp(argv[1], "--shapes") == 0) {
    int mb = argc >= 3 ? atoi(argv[2]) : 10;
    return RunShapes((mb > 0 ? mb : 10) << 20) ? 0 : 2;
  }
  std::vector<int> sizes;
  for (int i = 1; i < argc; i++) sizes.push_back(atoi(argv[i]));
  if (sizes.empty()) sizes = {2500, 5000, 10000};
  std::vector<Result> results;
  printf("%8s %8s %10s %10s %10s\n", "blocks", "wires", "bytes", "write ms", "read ms");
  for (int n : sizes) {
    if (n <= 0) continue;
    Result r = Measure(n, 5);
    results.push_back(r);
    printf("%8d %8d %10d %10.2f %10.2f\n", r.blocks, 2 * r.blocks, r.bytes, r.write * 1000, r.read * 1000);
  }
  if (results.size() >= 2) {
    const Result& a = results.front();
    const Result& b = results.back();
    double ratio = b.read / a.read;
    double scale = static_cast<double>(b.blocks) / a.blocks;
    printf("read %d / %d blocks: %.2f times the time (%.1f times the size; limit %.2f)\n", b.blocks, a.blocks,
           ratio, scale, scale * 4.5 / 4.0);
    if (ratio > scale * 4.5 / 4.0) {
      printf("reading does not scale linearly\n");
      return 2;
    }
  }
  return RunShapes(10 << 20) ? 0 : 2;
}
