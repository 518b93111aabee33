// The host functions a DLL calls.
#include "blocks/engine/plugin/plugin_host.h"

#include <cstring>

#include "blocks/engine/plugin/plugin_block.h"
#include "blocks/engine/engine_fixture.h"
#include "foundation/memory_stream.h"
#include "plugin_fixture.h"

namespace {

using betest::RecordedMessages;
using betest::TestBlock;
using plugtest::ProgramPlugins;
using plugtest::Query;

class PluginHostTest : public ::testing::Test {
protected:
  PluginHostTest()
      : plugins({{L"test_plugin.dll", L"test_plugin.dll"}}) {}
  void SetUp() override {
    ASSERT_TRUE(plugins.Copied());
    ASSERT_TRUE(AddPluginCatalogueEntry(&unit.catalogue));
    scheme.Init(&unit.catalogue);
    module = plugins.Find(L"test_plugin.dll");
    ASSERT_NE(nullptr, module);
  }
  CBEPluginBlock* Place(BePluginModule* m, int kind) {
    SetPluginChoice(m, kind);
    return static_cast<CBEPluginBlock*>(scheme.CreateBlock(kBePluginBlockClassId));
  }

  betest::UnitCatalogue unit;
  ProgramPlugins plugins;
  BeScheme scheme;
  BePluginModule* module = nullptr;
  const BeHostCallbacks& host = kBeHostCallbacks;
};

TEST_F(PluginHostTest, PinsAndValuesFollowTheHostFunctions) {
  CBEPluginBlock* plug = Place(module, 0);
  ASSERT_NE(nullptr, plug);
  BePluginHostBlock* b = plug->AsHost();
  TestBlock* src = static_cast<TestBlock*>(scheme.CreateBlock(betest::kPlainClassId));
  TestBlock* dst = static_cast<TestBlock*>(scheme.CreateBlock(betest::kPlainClassId));
  const unsigned char bytes[8] = {0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88};
  memcpy(src->outputs[0]->value, bytes, 8);
  betest::Link(src, 0, plug, 0);
  betest::Link(plug, 0, dst, 0);

  // Each getter reads its width from byte 0 of the source's value.
  EXPECT_EQ(1, host.IsInputConnected(b, 0));
  EXPECT_EQ(0, host.IsInputConnected(b, 1));
  EXPECT_EQ(0x81, host.GetInputBit(b, 0));
  EXPECT_EQ(static_cast<int8_t>(0x81), host.GetInputChar(b, 0));
  EXPECT_EQ(static_cast<int16_t>(0x8281), host.GetInputShort(b, 0));
  EXPECT_EQ(static_cast<int32_t>(0x84838281u), host.GetInputInt(b, 0));
  float f;
  double d;
  memcpy(&f, bytes, 4);
  memcpy(&d, bytes, 8);
  EXPECT_EQ(f, host.GetInputFloat(b, 0));
  EXPECT_EQ(d, host.GetInputDouble(b, 0));
  EXPECT_EQ(0, host.GetInputInt(b, 1));  // unconnected
  EXPECT_EQ(0.0, host.GetInputDouble(b, 1));

  // Each setter writes its width from byte 0 and leaves the other bytes.
  unsigned char* out = plug->outputs[0]->value;
  memset(out, 0xEE, 8);
  host.SetOutputBit(b, 0, 1);
  EXPECT_EQ(0x01, out[0]);
  EXPECT_EQ(0xEE, out[1]);
  host.SetOutputShort(b, 0, 0x1234);
  EXPECT_EQ(0x34, out[0]);
  EXPECT_EQ(0x12, out[1]);
  EXPECT_EQ(0xEE, out[2]);
  host.SetOutputChar(b, 0, -1);
  EXPECT_EQ(0xFF, out[0]);
  EXPECT_EQ(0x12, out[1]);
  host.SetOutputInt(b, 0, 0x01020304);
  EXPECT_EQ(0x04, out[0]);
  EXPECT_EQ(0x01, out[3]);
  EXPECT_EQ(0xEE, out[4]);
  host.SetOutputFloat(b, 0, 1.5f);
  EXPECT_EQ(1.5f, plug->outputs[0]->GetFloat());
  host.SetOutputDouble(b, 0, -0.25);
  EXPECT_EQ(-0.25, plug->outputs[0]->GetDouble());

  // Disconnecting, from either side.
  host.DisconnectInput(b, 0);
  EXPECT_EQ(nullptr, plug->inputs[0]->source);
  host.DisconnectOutput(b, 0);
  EXPECT_EQ(nullptr, dst->inputs[0]->source);

  // Size: right and bottom follow the top-left corner; pins stay where
  // they were.
  plug->MoveTo(100, 200);
  int pinOffset = plug->inputs[1]->yOffset;
  host.SetBlockSize(b, 80, 300);
  EXPECT_EQ(180, plug->rect.right);
  EXPECT_EQ(500, plug->rect.bottom);
  EXPECT_EQ(pinOffset, plug->inputs[1]->yOffset);
  host.SetBlockCaption(b, L"Новое");
  EXPECT_STREQ(L"Новое", plug->GetCaption());
  host.SetBlockCaption(b, nullptr);
  EXPECT_STREQ(L"Плагин", plug->GetCaption());

  // Fewer outputs: the dropped ones lose their names and their links.
  host.SetOutputCount(b, 3);
  host.SetOutputName(b, 2, L"третий");
  betest::Link(plug, 2, dst, 0);
  host.SetOutputCount(b, 2);
  EXPECT_EQ(2, plug->outputCount);
  EXPECT_EQ(nullptr, dst->inputs[0]->source);
  EXPECT_STREQ(L"a+b", plug->outputs[0]->name);
  host.SetInputCount(b, 1);
  EXPECT_EQ(1, plug->inputCount);
  EXPECT_STREQ(L"a", plug->inputs[0]->name);
  host.SetInputName(b, 0, nullptr);
  EXPECT_EQ(nullptr, plug->inputs[0]->name);
}

TEST_F(PluginHostTest, ArgumentsOutsideTheRangesAreIgnored) {
  CBEPluginBlock* plug = Place(module, 0);
  ASSERT_NE(nullptr, plug);
  BePluginHostBlock* b = plug->AsHost();
  TestBlock* src = static_cast<TestBlock*>(scheme.CreateBlock(betest::kPlainClassId));
  src->outputs[0]->SetInt(77);
  betest::Link(src, 0, plug, 1);

  const int badIndexes[] = {-1, 2, 1000, INT32_MIN, INT32_MAX};
  for (int i : badIndexes) {
    SCOPED_TRACE(i);
    host.SetInputName(b, i, L"x");
    host.SetInputHint(b, i, L"x");
    host.SetInputType(b, i, 5);
    host.DisconnectInput(b, i);
    EXPECT_EQ(0, host.IsInputConnected(b, i));
    EXPECT_EQ(0, host.GetInputBit(b, i));
    EXPECT_EQ(0, host.GetInputChar(b, i));
    EXPECT_EQ(0, host.GetInputShort(b, i));
    EXPECT_EQ(0, host.GetInputInt(b, i));
    EXPECT_EQ(0.0f, host.GetInputFloat(b, i));
    EXPECT_EQ(0.0, host.GetInputDouble(b, i));
    host.SetOutputName(b, i - 1 == 0 ? -5 : i, L"x");  // index 1 is outside one output
    host.SetOutputHint(b, i, L"x");
    host.SetOutputType(b, i, 5);
    host.DisconnectOutput(b, i);
    host.SetOutputInt(b, i, 5);
    host.SetOutputDouble(b, i, 5.0);
  }
  EXPECT_EQ(77, host.GetInputInt(b, 1));
  EXPECT_STREQ(L"a", plug->inputs[0]->name);
  EXPECT_STREQ(L"a+b", plug->outputs[0]->name);
  EXPECT_EQ(0, plug->outputs[0]->GetInt());

  // Counts below zero or beyond what a record can hold.
  for (int n : {-1, -1000, kBeMaxPluginPins + 1, INT32_MAX}) {
    host.SetInputCount(b, n);
    host.SetOutputCount(b, n);
  }
  EXPECT_EQ(2, plug->inputCount);
  EXPECT_EQ(1, plug->outputCount);
  EXPECT_EQ(plug->outputs[0], plug->outputs[0]);

  // Types: inputs take 0-40, outputs 0-36.
  host.SetInputType(b, 0, 40);
  EXPECT_EQ(40, plug->inputs[0]->type);
  for (int t : {-1, 41, 1000}) host.SetInputType(b, 0, t);
  EXPECT_EQ(40, plug->inputs[0]->type);
  host.SetOutputType(b, 0, 36);
  EXPECT_EQ(36, plug->outputs[0]->type);
  for (int t : {-1, 37, 40}) host.SetOutputType(b, 0, t);
  EXPECT_EQ(36, plug->outputs[0]->type);

  // Negative sizes become empty ones.
  plug->MoveTo(10, 10);
  host.SetBlockSize(b, -5, -7);
  EXPECT_EQ(0, plug->Width());
  EXPECT_EQ(0, plug->Height());

  // Blocks that are not plug-in blocks, and no block at all.
  BePluginHostBlock* notOurs = reinterpret_cast<BePluginHostBlock*>(src);
  host.SetBlockCaption(notOurs, L"чужой");
  host.SetInputCount(notOurs, 5);
  host.SetOutputInt(notOurs, 0, 9);
  EXPECT_EQ(nullptr, src->caption);
  EXPECT_EQ(1, src->inputCount);
  EXPECT_EQ(77, src->outputs[0]->GetInt());
  EXPECT_EQ(0, host.GetInputInt(notOurs, 0));
  host.SetBlockCaption(nullptr, L"x");
  host.SetInputCount(nullptr, 1);
  EXPECT_EQ(0, host.IsInputConnected(nullptr, 0));
  EXPECT_EQ(0.0, host.GetInputDouble(nullptr, 0));

  // Streams: only one handed to the running call, in its direction.
  char buffer[4] = {};
  EXPECT_EQ(0, host.WriteStream(nullptr, "ab", 2));
  EXPECT_EQ(0, host.ReadStream(nullptr, buffer, 4));
  CMemoryStream memory;
  {
    BePluginStream out(&memory, true, -1);
    EXPECT_EQ(0, host.ReadStream(&out, buffer, 4));
    EXPECT_EQ(0, host.WriteStream(&out, "ab", -2));
    EXPECT_EQ(0, host.WriteStream(&out, nullptr, 2));
    EXPECT_EQ(2, host.WriteStream(&out, "ab", 2));
  }
  memory.Seek(0, 0);
  {
    BePluginStream in(&memory, false, 1);
    EXPECT_EQ(0, host.WriteStream(&in, "cd", 2));
    EXPECT_EQ(1, host.ReadStream(&in, buffer, 4));  // stops at the limit
    EXPECT_EQ('a', buffer[0]);
    EXPECT_EQ(0, host.ReadStream(&in, buffer, 4));
  }
  EXPECT_EQ(2, memory.size);

  // RegisterBlock outside a module's initialisation.
  EXPECT_EQ(0, host.RegisterBlock(module->kinds[0].creator, L"Ещё"));
  EXPECT_EQ(3, module->kindCount);
}

}  // namespace
