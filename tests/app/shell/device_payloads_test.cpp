// What a navigation receiver and an inertial unit on the circuit publish
// reaches the driver blocks of a unit's program: in Velkboard the fix and
// the measurement record are named by the program's payload table, and the
// drivers resolve the packet bytes the devices put on their lines.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/shell/velkboard_host.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/payload_table.h"
#include "blocks/library/drivers/inertial_driver.h"
#include "blocks/library/geodesy/nav_controller.h"
#include "blocks/library/scalar_value.h"
#include "components/devices/sensors/inertial_system.h"
#include "components/devices/sensors/nav_receiver.h"
#include "foundation/vecmath.h"
#include "tests/components/devices/sensors/range_finder_kit.h"

namespace {

const BeSignalType kNavDataType = 27;
const BeSignalType kInertialDataType = 25;

// A unit program's input line: the eight bytes a communication device
// hands the driver block from the device's packet payload.
struct DriverLine {
  explicit DriverLine(BeSignalType type) : pin(nullptr) { pin.type = type; }
  void Carry(const std::vector<uint8_t>& payload) {
    ASSERT_EQ(payload.size(), 8u);
    for (int i = 0; i < 8; i++) pin.value[i] = payload[i];
  }
  BeOutputPin pin;
};

// Velkboard's host as the scheme host, with the program's payload table.
struct VelkboardPayloads {
  VelkboardPayloads() : scope(&host) {}
  CVelkboardHost host;
  CSchemeHostScope scope;
};

TEST(DevicePayloads, NavigationFixGivesTheDriverItsPosition) {
  VelkboardPayloads program;
  const int live = BePayloadTable::Program().LiveCount();
  devtest::DeviceBench bench;
  auto* r = bench.Create<CSCHNavReceiver>("NavReceiver");
  ASSERT_TRUE(r);
  r->externalAntenna = 0;
  r->precision = 0;  // no noise in the driver
  r->BuildPins();
  Mat4f pose;
  MakeIdentityMatrix(&pose);
  pose.m[12] = 120;  // east
  pose.m[13] = -40;  // north
  pose.m[14] = 15;   // up
  r->pose = &pose;
  auto* plus = bench.Source(5, rangetest::kStrong);
  auto* minus = bench.Ground();
  bench.Wire(plus, 0, r, r->powerPin);
  bench.Wire(minus, 0, r, r->powerPin + 1);
  auto* rx = bench.Add<rangetest::Line>();
  bench.Wire(r, r->serialPin + 1, rx, 0);
  rangetest::RequestSet requests;
  requests.Put(1, 0, kDevNavSerialFormat, {1});
  rx->Set(5, 100, 0, 100, requests.set);
  bench.Build();
  bench.Start();
  bench.Step(8, 0.0625f);
  std::vector<rangetest::PacketView> answers = rangetest::Packets(r->answerSet);
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(BePayloadTable::Program().LiveCount(), live + 1);

  DriverLine line(kNavDataType);
  line.Carry(answers[0].payload);
  std::unique_ptr<CBEBlock> block(CBENavController::Create());
  auto* nav = static_cast<CBENavController*>(block.get());
  ASSERT_TRUE(nav);
  nav->coordinateSystem = kBeNavGeocentric;
  nav->inputs[0]->source = &line.pin;
  nav->Start();
  nav->Step(0.1f);
  // The plane position (east, north, up) on the sphere through the base
  // point: (R + up) x up-axis + east x east-axis + north x north-axis.
  const double b[3] = {kBeNavBaseX, kBeNavBaseY, kBeNavBaseZ};
  const double R = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
  const double lon = std::atan2(b[1], b[0]), lat = std::atan2(b[2], std::hypot(b[0], b[1]));
  const double upAxis[3] = {b[0] / R, b[1] / R, b[2] / R};
  const double eastAxis[3] = {-std::sin(lon), std::cos(lon), 0};
  const double northAxis[3] = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
  for (int i = 0; i < 3; i++) {
    const double expected = (R + 15) * upAxis[i] + 120 * eastAxis[i] - 40 * northAxis[i];
    EXPECT_NEAR(ReadDoubleValue(nav->outputs[kNavPosition0 + i]->value), expected, 0.01) << i;
  }
  nav->inputs[0]->source = nullptr;
  // The run's end withdraws the pose: the same bytes name nothing now.
  bench.Stop();
  EXPECT_EQ(BePayloadTable::Program().LiveCount(), live);
  EXPECT_EQ(BeResolvePayload(line.pin.value), nullptr);
}

TEST(DevicePayloads, InertialRecordGivesTheDriverItsValues) {
  VelkboardPayloads program;
  devtest::DeviceBench bench;
  auto* n = bench.Create<CSCHInertialSystem>("InertialSystem");
  ASSERT_TRUE(n);
  n->record.flags = kInertialAccelX | kInertialAccelY | kInertialAccelZ | kInertialRateZ;
  n->Uwork = 3.3f;
  n->BuildPins();
  Mat4f pose;
  MakeIdentityMatrix(&pose);
  n->pose = &pose;
  auto* plus = bench.Source(5, rangetest::kStrong);
  auto* minus = bench.Ground();
  bench.Wire(minus, 0, n, 0);
  bench.Wire(plus, 0, n, 1);
  auto* rx = bench.Add<rangetest::Line>();
  bench.Wire(n, n->firstInterfacePin + 1, rx, 0);
  rangetest::RequestSet requests;
  requests.Put(1, 0, 0, {1});
  rx->Set(5, 100, 0, 100, requests.set);
  bench.Build();
  bench.Start();
  bench.Step(2, 0.01f);
  // The unit counts its packets from 0 at Start, the driver takes a record
  // whose counter differs from the last it took (0 at its Start): the
  // second packet is the first it reads.
  requests.Put(1, 1, 0, {2});
  bench.Step(1, 0.01f);
  std::vector<rangetest::PacketView> packets = rangetest::Packets(n->packetSet);
  ASSERT_EQ(packets.size(), 1u);
  ASSERT_EQ(packets[0].payload[0], 1);

  DriverLine line(kInertialDataType);
  line.Carry(packets[0].payload);
  std::unique_ptr<CBEBlock> driver(CBEInertialDriver::Create());
  ASSERT_TRUE(driver);
  driver->inputs[0]->source = &line.pin;
  driver->Start();
  driver->Step(0.01f);
  EXPECT_EQ(ReadFloatValue(driver->outputs[kInertialAz]->value), 9810.0f);
  EXPECT_EQ(ReadFloatValue(driver->outputs[kInertialAx]->value), 0.0f);
  EXPECT_EQ(ReadFloatValue(driver->outputs[kInertialWoz]->value), 0.0f);
  driver->inputs[0]->source = nullptr;
  bench.Stop();
  EXPECT_EQ(BeResolvePayload(line.pin.value), nullptr);
}

}  // namespace
