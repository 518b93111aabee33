#include <cstring>
#include <string>
#include <vector>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"
#include "blocks/engine/engine_fixture.h"
#include "foundation/memory_stream.h"
#include "support/test_support.h"

using betest::Link;
using betest::TestBlock;

namespace {

std::string FileText(const std::wstring& path) {
  std::vector<uint8_t> bytes = velktest::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// A scheme with a source block feeding the block under test.
template <typename T>
class Fed {
public:
  Fed() {
    source = new TestBlock(0, 1);
    source->AttachToScheme(&scheme);
    block = static_cast<T*>(T::Create());
    block->AttachToScheme(&scheme);
    Link(source, 0, block, 0);
  }
  void SetValue(const void* bytes, int n) {
    memset(source->outputs[0]->value, 0, 8);
    memcpy(source->outputs[0]->value, bytes, n);
  }
  BeScheme scheme;
  TestBlock* source;
  T* block;
};

TEST(Monitor, CaptionsNumberTheMonitorsThatExist) {
  int before = CBEMonitor::Count();
  CBEMonitor* first = new CBEMonitor;
  CBEMonitor* second = new CBEMonitor;
  EXPECT_EQ(L"out" + std::to_wstring(before + 1), std::wstring(first->caption));
  EXPECT_EQ(L"out" + std::to_wstring(before + 2), std::wstring(second->caption));
  EXPECT_EQ(before + 2, CBEMonitor::Count());
  delete first;
  CBEMonitor* third = new CBEMonitor;
  EXPECT_EQ(L"out" + std::to_wstring(before + 2), std::wstring(third->caption));
  // The list keeps the order of creation.
  CBEMonitor* m = CBEMonitor::First();
  for (int i = 0; i < before; ++i) m = m->nextMonitor;
  EXPECT_EQ(second, m);
  EXPECT_EQ(third, m->nextMonitor);
  EXPECT_EQ(nullptr, third->nextMonitor);
  delete second;
  delete third;
  EXPECT_EQ(before, CBEMonitor::Count());
}

TEST(Monitor, Construction) {
  CBEMonitor monitor;
  EXPECT_EQ(100, monitor.Width());
  EXPECT_EQ(22, monitor.Height());
  EXPECT_EQ(RGB(102, 102, 102), monitor.fillColor);
  ASSERT_EQ(1, monitor.inputCount);
  EXPECT_EQ(kBeSignalAnyScalar, monitor.inputs[0]->type);
  EXPECT_EQ(0, monitor.outputCount);
  EXPECT_EQ(nullptr, monitor.logFileName);
  EXPECT_EQ(0, monitor.cycles + monitor.rom + monitor.ram);
}

TEST(Monitor, LogsChangesWithTheirTime) {
  velktest::TempFolder temp;
  Fed<CBEMonitor> fed;
  fed.block->SetLogFileName(temp.File(L"log.txt").c_str());
  fed.source->outputs[0]->type = kBeSignalInt;
  const int values[] = {5, 5, 7, 7, 7, -3, -3};
  fed.scheme.Start();
  for (int v : values) {
    fed.SetValue(&v, 4);
    fed.scheme.Step(0.001f);
  }
  fed.scheme.Stop();
  EXPECT_EQ("0.000\t5\r\n0.002\t7\r\n0.005\t-3\r\n", FileText(temp.File(L"log.txt")));
  // A second run truncates the log.
  fed.scheme.Start();
  fed.scheme.Step(0.001f);
  fed.scheme.Stop();
  EXPECT_EQ("0.000\t-3\r\n", FileText(temp.File(L"log.txt")));
}

struct LineCase {
  int type;
  unsigned char bytes[8];
  const char* line;
};

TEST(Monitor, LineFormatByType) {
  const LineCase cases[] = {
      {0, {0x0A, 0xD7, 0xA3, 0x3C, 0x00, 0x00, 0x00, 0x3F}, "0.000\t0.50000000\r\n"},  // 0.02 s, 0.5
      {1, {0x03}, "0.000\t1\r\n"},
      {2, {0xFF}, "0.000\t-1\r\n"},
      {3, {0xFE, 0xFF}, "0.000\t-2\r\n"},
      {4, {0x60, 0x79, 0xFE, 0xFF}, "0.000\t-100000\r\n"},
      {5, {0x00, 0x00, 0xC0, 0x3F}, "0.000\t1.50000000\r\n"},
      {9, {0x00, 0x00, 0x80, 0x3E}, "0.000\t0.25000000\r\n"},
      {6, {0, 0, 0, 0, 0, 0, 0x04, 0x40}, "0.000\t2.500000000000\r\n"},
      {7, {0x01}, ""},
      {22, {0x01}, ""},
  };
  velktest::TempFolder temp;
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.type);
    Fed<CBEMonitor> fed;
    fed.block->SetLogFileName(temp.File(L"t.txt").c_str());
    fed.source->outputs[0]->type = c.type;
    fed.SetValue(c.bytes, 8);
    fed.scheme.Start();
    fed.scheme.Step(0.01f);
    fed.scheme.Step(0.01f);  // unchanged: nothing more
    fed.scheme.Stop();
    EXPECT_EQ(c.line, FileText(temp.File(L"t.txt")));
  }
}

TEST(Monitor, OnlyTheFirstFourBytesAreCompared) {
  velktest::TempFolder temp;
  Fed<CBEMonitor> fed;
  fed.block->SetLogFileName(temp.File(L"d.txt").c_str());
  fed.source->outputs[0]->type = kBeSignalDouble;
  fed.scheme.Start();
  double one = 1.0, two = 2.0;  // their low four bytes are both zero
  fed.SetValue(&one, 8);
  fed.scheme.Step(0.001f);
  fed.SetValue(&two, 8);
  fed.scheme.Step(0.001f);
  fed.scheme.Stop();
  EXPECT_EQ("0.000\t1.000000000000\r\n", FileText(temp.File(L"d.txt")));
}

TEST(Monitor, WithoutALogNothingIsWritten) {
  velktest::TempFolder temp;
  Fed<CBEMonitor> fed;
  fed.scheme.Start();
  fed.scheme.Step(0.001f);
  EXPECT_EQ(nullptr, fed.block->logFile);
  fed.scheme.Stop();
  fed.block->SetLogFileName(temp.File(L"нет\\такой\\папки.txt").c_str());
  fed.scheme.Start();
  EXPECT_EQ(nullptr, fed.block->logFile);
  fed.scheme.Step(0.001f);
  fed.scheme.Stop();
  EXPECT_NEAR(0.001, fed.block->time, 1e-9);
}

TEST(AvrPlot, Construction) {
  CBEAvrPlot plot;
  EXPECT_EQ(80, plot.Width());
  EXPECT_EQ(40, plot.Height());
  EXPECT_EQ(RGB(204, 204, 204), plot.fillColor);
  ASSERT_EQ(2, plot.inputCount);
  EXPECT_STREQ(L"D", plot.inputs[0]->name);
  EXPECT_EQ(kBeSignalAnyScalar, plot.inputs[0]->type);
  EXPECT_STREQ(L"Записываемые данные", plot.inputs[0]->description);
  EXPECT_STREQ(L"C", plot.inputs[1]->name);
  EXPECT_EQ(kBeSignalBit, plot.inputs[1]->type);
  EXPECT_STREQ(
      L"Синхроимпульс начала записи. Если не подключен, то запись начинается с момента запуска "
      L"процессора",
      plot.inputs[1]->description);
  EXPECT_EQ(4, plot.interval);
  EXPECT_EQ(0, plot.format);
  EXPECT_EQ(100, plot.capacity);
  EXPECT_EQ(400, plot.ram);
}

struct RamCase {
  int sourceType;  // -1: unlinked
  int format, capacity;
  int ram;
};

TEST(AvrPlot, RamCost) {
  const RamCase cases[] = {
      {-1, 0, 100, 400},  {3, 1, 300, 1200}, {6, 0, 100, 800},  {4, 1, 255, 1275},
      {4, 1, 256, 1536},  {1, 1, 10, 20},    {2, 0, 0, 0},      {5, 1, 1000, 6000},
  };
  for (const RamCase& c : cases) {
    Fed<CBEAvrPlot> fed;
    if (c.sourceType < 0) {
      fed.block->inputs[0]->source = nullptr;
    } else {
      fed.source->outputs[0]->type = c.sourceType;
    }
    fed.block->format = static_cast<unsigned char>(c.format);
    fed.block->capacity = c.capacity;
    fed.block->UpdateRamCost();
    EXPECT_EQ(c.ram, fed.block->ram) << c.sourceType << " " << c.format << " " << c.capacity;
  }
}

TEST(AvrPlot, SamplesAtItsIntervalUpToItsCapacity) {
  velktest::TempFolder temp;
  Fed<CBEAvrPlot> fed;
  fed.block->SetLogFileName(temp.File(L"plot.txt").c_str());
  fed.source->outputs[0]->type = kBeSignalInt;
  fed.scheme.Start();
  for (int k = 0; k < 500; ++k) {
    fed.SetValue(&k, 4);
    fed.scheme.Step(0.001f);
  }
  EXPECT_EQ(100, fed.block->sampleCount);
  EXPECT_EQ(100 * 8, fed.block->buffer->size);
  fed.scheme.Stop();
  EXPECT_EQ(nullptr, fed.block->buffer);
  std::string expected;
  char line[32];
  for (int j = 0; j < 100; ++j) {
    snprintf(line, sizeof line, "%d.%03d\t%d\r\n", (4 * j) / 1000, (4 * j) % 1000, 4 * j);
    expected += line;
  }
  EXPECT_EQ(expected, FileText(temp.File(L"plot.txt")));
}

TEST(AvrPlot, TimeAndValueFormatStoresOnlyChanges) {
  velktest::TempFolder temp;
  Fed<CBEAvrPlot> fed;
  fed.block->SetLogFileName(temp.File(L"p.txt").c_str());
  fed.block->format = CBEAvrPlot::kTimeAndValue;
  fed.source->outputs[0]->type = kBeSignalShort;
  short v = 300;
  fed.SetValue(&v, 2);
  fed.scheme.Start();
  for (int k = 0; k < 20; ++k) fed.scheme.Step(0.001f);
  EXPECT_EQ(1, fed.block->sampleCount);
  v = -2;
  fed.SetValue(&v, 2);
  for (int k = 0; k < 4; ++k) fed.scheme.Step(0.001f);
  fed.scheme.Stop();
  EXPECT_EQ("0.000\t300\r\n0.020\t-2\r\n", FileText(temp.File(L"p.txt")));
}

TEST(AvrPlot, FloatAndDoubleLines) {
  velktest::TempFolder temp;
  for (int type : {kBeSignalFloat, kBeSignalDouble}) {
    Fed<CBEAvrPlot> fed;
    fed.block->SetLogFileName(temp.File(L"f.txt").c_str());
    fed.source->outputs[0]->type = type;
    if (type == kBeSignalFloat) {
      float f = 1.5f;
      fed.SetValue(&f, 4);
    } else {
      double d = -0.25;
      fed.SetValue(&d, 8);
    }
    fed.scheme.Start();
    fed.scheme.Step(0.001f);
    fed.scheme.Stop();
    EXPECT_EQ(type == kBeSignalFloat ? "0.000\t1.500000\r\n" : "0.000\t-0.250000\r\n",
              FileText(temp.File(L"f.txt")));
  }
}

TEST(AvrPlot, SyncInputStartsRecordingForGood) {
  velktest::TempFolder temp;
  Fed<CBEAvrPlot> fed;
  TestBlock* sync = new TestBlock(0, 1);
  sync->AttachToScheme(&fed.scheme);
  Link(sync, 0, fed.block, 1);
  fed.block->SetLogFileName(temp.File(L"s.txt").c_str());
  fed.source->outputs[0]->type = kBeSignalChar;
  char c = 9;
  fed.SetValue(&c, 1);
  fed.scheme.Start();
  for (int k = 0; k < 10; ++k) fed.scheme.Step(0.001f);
  EXPECT_EQ(0, fed.block->sampleCount);
  EXPECT_EQ(0, fed.block->started);
  EXPECT_EQ(0.0f, fed.block->time);
  fed.scheme.Stop();
  EXPECT_EQ("", FileText(temp.File(L"s.txt")));
  // One high sync value in a run...
  fed.scheme.Start();
  sync->outputs[0]->value[0] = 1;
  fed.scheme.Step(0.001f);
  sync->outputs[0]->value[0] = 0;
  fed.scheme.Step(0.001f);
  fed.scheme.Stop();
  EXPECT_EQ(1, fed.block->started);
  // ...and the next run records from its start with the sync input low.
  fed.scheme.Start();
  for (int k = 0; k < 5; ++k) fed.scheme.Step(0.001f);
  fed.scheme.Stop();
  EXPECT_EQ("0.000\t9\r\n0.004\t9\r\n", FileText(temp.File(L"s.txt")));
}

TEST(AvrPlot, WithoutDataOrFileNothingIsKept) {
  velktest::TempFolder temp;
  CBEAvrPlot plot;
  plot.SetLogFileName(temp.File(L"none.txt").c_str());
  plot.Start();
  EXPECT_EQ(nullptr, plot.buffer);
  plot.Step(0.001f);
  plot.Stop();
  EXPECT_EQ(0u, velktest::ReadWholeFile(temp.File(L"none.txt")).size());
  Fed<CBEAvrPlot> fed;  // no file name: samples dropped at Stop
  fed.scheme.Start();
  fed.scheme.Step(0.001f);
  EXPECT_EQ(1, fed.block->sampleCount);
  fed.scheme.Stop();
  EXPECT_EQ(nullptr, fed.block->buffer);
}

// The graph builder's record by hand: base record at (150, 40, 230, 80)
// with two unconnected inputs, the low byte 0x08 of the cost 1800 that the
// block has once read back (unlinked: (4 + 1 + 1) x 300), the file "p",
// format 1, capacity 300, interval 7.
const char kPlotRecord[] =
    "96 00 00 00 28 00 00 00 E6 00 00 00 50 00 00 00  00 00  00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "08  70 00 00 00  01  2C 01 00 00  07 00 00 00";

TEST(AvrPlot, RecordByHand) {
  BeScheme scheme;
  CBEAvrPlot* plot = new CBEAvrPlot;
  plot->AttachToScheme(&scheme);
  plot->SetLogFileName(L"p");
  plot->format = 1;
  plot->capacity = 300;
  plot->interval = 7;
  CMemoryStream stream;
  plot->Save(&stream);
  EXPECT_TRUE(velktest::BytesEqual(stream.data, stream.size, velktest::ParseHex(kPlotRecord)));
  stream.Seek(0, 0);
  CBEAvrPlot copy;
  ASSERT_TRUE(copy.Load(&stream));
  EXPECT_STREQ(L"p", copy.logFileName);
  EXPECT_EQ(1, copy.format);
  EXPECT_EQ(300, copy.capacity);
  EXPECT_EQ(7, copy.interval);
  EXPECT_EQ(0x108, copy.ram);  // the stored low byte over the constructor's 400
  copy.ResolveLinks();
  EXPECT_EQ(1800, copy.ram);  // recomputed: unlinked, time and value
}

TEST(AvrPlot, ImplausibleRecordsAreRefused) {
  const std::vector<uint8_t> good = velktest::ParseHex(kPlotRecord);
  const size_t formatAt = good.size() - 9;
  struct Bad {
    size_t at;
    uint8_t value;
  };
  const Bad cases[] = {{formatAt, 2}, {formatAt + 4, 0x80}, {formatAt + 8, 0xFF}};
  for (const Bad& b : cases) {
    std::vector<uint8_t> bytes = good;
    bytes[b.at] = b.value;
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int>(bytes.size()));
    stream.Seek(0, 0);
    CBEAvrPlot plot;
    EXPECT_FALSE(plot.Load(&stream)) << b.at;
  }
  for (size_t n = 0; n < good.size(); ++n) {
    CMemoryStream stream;
    stream.Write(good.data(), static_cast<int>(n));
    stream.Seek(0, 0);
    CBEAvrPlot plot;
    EXPECT_FALSE(plot.Load(&stream)) << n;
  }
}

TEST(Monitor, RecordRoundTrip) {
  CBEMonitor monitor;
  monitor.SetCaption(L"скорость");
  monitor.SetLogFileName(L"C:\\журнал.txt");
  CMemoryStream stream;
  monitor.Save(&stream);
  stream.Seek(0, 0);
  CBEMonitor copy;
  ASSERT_TRUE(copy.Load(&stream));
  EXPECT_STREQ(L"скорость", copy.caption);
  EXPECT_STREQ(L"C:\\журнал.txt", copy.logFileName);
  EXPECT_EQ(stream.size, stream.position);
  for (int n = 0; n < stream.size; ++n) {
    CMemoryStream cut;
    cut.Write(stream.data, n);
    cut.Seek(0, 0);
    CBEMonitor partial;
    EXPECT_FALSE(partial.Load(&cut)) << n;
  }
}

}  // namespace

namespace {
std::vector<CBEBlock*> g_shown;
bool RecordingDialog(CBEBlock* block) {
  g_shown.push_back(block);
  return true;
}
}  // namespace

TEST(DebugBlocks, PropertiesOpenTheDialogOfTheirClass) {
  // The program's table is put back afterwards.
  BeBlockDialogTable& program = BeBlockDialogTable::Program();
  std::vector<std::pair<unsigned int, BeBlockDialog>> saved;
  for (int i = 0; i < program.Count(); ++i) saved.emplace_back(program.ClassIdAt(i), program.DialogAt(i));
  program.Clear();
  g_shown.clear();
  BeScheme scheme;
  CBEMonitor* monitor = static_cast<CBEMonitor*>(CBEMonitor::Create());
  CBEAvrPlot* plot = static_cast<CBEAvrPlot*>(CBEAvrPlot::Create());
  monitor->AttachToScheme(&scheme);
  plot->AttachToScheme(&scheme);
  EXPECT_FALSE(monitor->ShowProperties()) << "no dialog registered";
  EXPECT_FALSE(plot->ShowProperties());
  ASSERT_TRUE(program.Set(kBeMonitorClassId, RecordingDialog));
  EXPECT_TRUE(monitor->ShowProperties());
  EXPECT_FALSE(plot->ShowProperties()) << "the monitor's dialog is not the graph builder's";
  ASSERT_TRUE(program.Set(kBeAvrPlotClassId, RecordingDialog));
  EXPECT_TRUE(plot->ShowProperties());
  EXPECT_EQ((std::vector<CBEBlock*>{monitor, plot}), g_shown);
  program.Clear();
  for (const auto& row : saved) program.Set(row.first, row.second);
}
