// The microphone: its pins, the audio record it hands its output nets only
// through more than 10 kohm, and its picture.
#include <gtest/gtest.h>

#include <cstring>

#include "components/devices/device_kit.h"
#include "scheme/simulation/net.h"
#include "units/media/microphone.h"
#include "units/unit_classes.h"

namespace {

class UnitBench : public devtest::DeviceBench {
public:
  UnitBench() { RegisterUnitComponentCreators(); }
};

TEST(Microphone, TwoOutputsOnTheLeft) {
  UnitBench bench;
  auto* m = bench.Create<CSCHMicrophone>("Mic");
  ASSERT_NE(nullptr, m);
  EXPECT_EQ(91, m->rect.right - m->rect.left);
  EXPECT_EQ(91, m->rect.bottom - m->rect.top);
  ASSERT_EQ(2, m->pinCount);
  EXPECT_STREQ(L"Выход 1", m->pins[0].description);
  EXPECT_STREQ(L"Выход 2", m->pins[1].description);
  EXPECT_EQ(70, m->pins[0].offset);
  EXPECT_EQ(87, m->pins[1].offset);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(kSchSideLeft, m->pins[i].side);
    EXPECT_EQ(nullptr, m->pins[i].name);
  }
}

// The eight bytes a net's kind-23 source carries.
void ExpectRecord(const SchNet* net, unsigned char sequence, uint32_t handle) {
  ASSERT_EQ(kSourceAudio, net->sourceKind);
  ASSERT_NE(nullptr, net->source);
  unsigned char v[8];
  memcpy(v, reinterpret_cast<const BeAudioSource*>(net->source)->value, 8);
  EXPECT_EQ(sequence, v[0]);
  EXPECT_EQ(0x22, v[1]);
  EXPECT_EQ(0xEA, v[2]);
  EXPECT_EQ(handle & 0xFF, v[4]);
  EXPECT_EQ((handle >> 8) & 0xFF, v[5]);
  EXPECT_EQ((handle >> 16) & 0xFF, v[6]);
  EXPECT_EQ(handle >> 24, v[7]);
  EXPECT_TRUE(IsAudioValue(v));
  EXPECT_EQ(handle, AudioSoundHandle(v));
}

TEST(Microphone, TheRecordReachesOnlyNetsDrivenAbove10Kohm) {
  struct Case {
    float R;
    bool reaches;
  } cases[] = {{1000, false}, {10000, false}, {10001, true}, {5e6f, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.R);
    UnitBench bench;
    auto* m = bench.Create<CSCHMicrophone>("Mic");
    m->audioSource = 0x12345678;
    circuit::Part* input = bench.Source(0, c.R);
    bench.Wire(input, 0, m, 0);
    bench.Build();
    bench.Start();
    bench.Step(3, 1e-3f);
    SchNet* net = bench.NetOf(m, 0);
    if (c.reaches) {
      ExpectRecord(net, 3, 0x12345678);
    } else {
      EXPECT_NE(kSourceAudio, net->sourceKind);
    }
    bench.Stop();
  }
}

TEST(Microphone, WithoutSoundItHandsNothing) {
  UnitBench bench;
  auto* m = bench.Create<CSCHMicrophone>("Mic");
  circuit::Part* input = bench.Part(1);
  bench.Wire(input, 0, m, 1);
  bench.Build();
  bench.Start();
  bench.Step(3, 1e-3f);
  EXPECT_EQ(0, bench.NetOf(m, 1)->sourceKind);
  EXPECT_EQ(0, m->GetAudioRecord().Sequence());
  bench.Stop();
}

TEST(Microphone, BothOutputsCarryTheSameRecordAndTheSequenceWraps) {
  UnitBench bench;
  auto* m = bench.Create<CSCHMicrophone>("Mic");
  m->audioSource = 7;
  circuit::Part* a = bench.Part(1);
  circuit::Part* b = bench.Part(1);
  bench.Wire(a, 0, m, 0);
  bench.Wire(b, 0, m, 1);
  bench.Build();
  bench.Start();
  bench.Step(258, 1e-3f);
  ExpectRecord(bench.NetOf(m, 0), 2, 7);
  ExpectRecord(bench.NetOf(m, 1), 2, 7);
  EXPECT_EQ(bench.NetOf(m, 0)->source, bench.NetOf(m, 1)->source);
  bench.Stop();
  // A net joined to both outputs gets the one record.
  UnitBench joined;
  auto* m2 = joined.Create<CSCHMicrophone>("Mic");
  m2->audioSource = 9;
  circuit::Part* reader = joined.Part(1);
  joined.Star({{reader, 0}, {m2, 0}, {m2, 1}});
  joined.Build();
  joined.Start();
  joined.Step(1, 1e-3f);
  ASSERT_EQ(joined.NetOf(m2, 0), joined.NetOf(m2, 1));
  ExpectRecord(joined.NetOf(m2, 0), 1, 9);
  joined.Stop();
}

}  // namespace
