// The graph builder copied without its source: the RAM-cost byte of its
// record is the cost the block has once read back, so copying, pasting and
// copying again writes the same bytes.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/engine_fixture.h"
#include "foundation/memory_stream.h"

namespace {

const unsigned int kPlotClassId = 0x55443300;
const unsigned int kSourceClassId = betest::kPlainClassId;

CBEBlock* CreateSource() {
  auto* block = new betest::TestBlock(0, 1);
  block->outputs[0]->type = kBeSignalDouble;  // 8 bytes a value
  return block;
}

class PlotCopyTest : public ::testing::Test {
protected:
  void SetUp() override {
    BeCatalogueGroup* hidden = catalogue.AddGroup(nullptr);
    ASSERT_NE(nullptr, hidden);
    BeCatalogueGroup* debug = catalogue.AddGroup(L"Отладка");
    ASSERT_TRUE(debug->AddEntry(kPlotClassId, CBEAvrPlot::Create, L"Построитель графика", L"avrploticon.bmp"));
    ASSERT_TRUE(debug->AddEntry(kSourceClassId, CreateSource, L"Источник", nullptr));
    scheme.Init(&catalogue);
    pasted.Init(&catalogue);
    source = scheme.CreateBlock(kSourceClassId);
    plot = static_cast<CBEAvrPlot*>(scheme.CreateBlock(kPlotClassId));
    ASSERT_NE(nullptr, source);
    ASSERT_NE(nullptr, plot);
    plot->inputs[0]->source = source->outputs[0];
    plot->UpdateRamCost();
    ASSERT_EQ(800, plot->ram);  // 8 bytes x 100 samples
  }
  // The selected blocks of a scheme as the clipboard holds them.
  static std::vector<uint8_t> CopySelected(BeScheme* from) {
    CMemoryStream stream;
    from->Save(&stream, true);
    return std::vector<uint8_t>(stream.data, stream.data + stream.size);
  }
  static void Paste(BeScheme* into, const std::vector<uint8_t>& bytes) {
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int>(bytes.size()));
    stream.Seek(0, 0);
    ASSERT_TRUE(into->Load(&stream, true));
  }
  // Where the RAM-cost byte of a lone plot record lies in a scheme stream:
  // magic, count, class id, then the base record.
  static size_t CostByteOffset(CBEAvrPlot* block) {
    CMemoryStream base;
    block->CBEBlock::Save(&base);
    return 4 + 4 + 4 + static_cast<size_t>(base.size);
  }

  BeCatalogue catalogue;
  BeScheme scheme;
  BeScheme pasted;
  CBEBlock* source = nullptr;
  CBEAvrPlot* plot = nullptr;
};

TEST_F(PlotCopyTest, CopyPasteCopyWritesTheSameBytesWithoutTheSource) {
  plot->flags |= kBeBlockSelected;
  std::vector<uint8_t> first = CopySelected(&scheme);
  // The source stays behind: the copy counts with an unlinked input,
  // 4 bytes x 100 samples = 400, low byte 0x90.
  size_t at = CostByteOffset(plot);
  ASSERT_LT(at, first.size());
  EXPECT_EQ(0x90, first[at]);
  EXPECT_EQ(800, plot->ram);  // the block itself keeps its cost

  Paste(&pasted, first);
  CBEAvrPlot* copy = static_cast<CBEAvrPlot*>(pasted.blocks);
  ASSERT_NE(nullptr, copy);
  EXPECT_EQ(nullptr, copy->inputs[0]->source);
  EXPECT_EQ(400, copy->ram);
  std::vector<uint8_t> second = CopySelected(&pasted);
  EXPECT_EQ(first, second);
}

TEST_F(PlotCopyTest, CopiedWithItsSourceTheByteIsTheLinkedCost) {
  plot->flags |= kBeBlockSelected;
  source->flags |= kBeBlockSelected;
  std::vector<uint8_t> first = CopySelected(&scheme);
  // Oldest first: the source's record, then the plot's.
  CMemoryStream sourceRecord;
  source->Save(&sourceRecord);
  size_t at = CostByteOffset(plot) + 4 + static_cast<size_t>(sourceRecord.size);
  ASSERT_LT(at, first.size());
  EXPECT_EQ(0x20, first[at]);  // 800 = 0x320
  Paste(&pasted, first);
  CBEAvrPlot* copy = nullptr;
  for (CBEBlock* b = pasted.blocks; b; b = b->next)
    if (b->GetClassId() == kPlotClassId) copy = static_cast<CBEAvrPlot*>(b);
  ASSERT_NE(nullptr, copy);
  ASSERT_NE(nullptr, copy->inputs[0]->source);
  EXPECT_EQ(800, copy->ram);
  EXPECT_EQ(first, CopySelected(&pasted));
}

}  // namespace
