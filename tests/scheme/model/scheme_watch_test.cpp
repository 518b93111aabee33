// The circuit scheme's watches: every component, wire, junction and bus that
// goes is told before it goes (whichever path deletes it), a deleted scheme
// releases each watch once, and watches leave the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "scheme/model/scheme_watch.h"
#include "scheme/scheme_fixture.h"

using schtest::SchemeBuilder;
using schtest::TestPart;

namespace {

class RecordingWatch : public SchSchemeWatch {
public:
  void OnSchemeDeleting(SchScheme* scheme) override {
    schemesGone.push_back(reinterpret_cast<uintptr_t>(scheme));
    stillWatching = GetWatchedScheme() != nullptr;
  }
  void OnObjectDeleting(SchScheme* scheme, const void* object) override {
    EXPECT_EQ(GetWatchedScheme(), scheme);
    objectsGone.push_back(reinterpret_cast<uintptr_t>(object));
  }
  bool Heard(uintptr_t p) const { return std::find(objectsGone.begin(), objectsGone.end(), p) != objectsGone.end(); }
  std::vector<uintptr_t> schemesGone;
  std::vector<uintptr_t> objectsGone;
  bool stillWatching = true;
};

TEST(SchemeWatch, EveryKindOfObjectIsToldBeforeItGoes) {
  SchemeBuilder b;
  TestPart* a = b.Part(0, 2, 100, 50);
  TestPart* c = b.Part(2, 0, 500, 200);
  TestPart* child = b.Part(1, 1);
  a->AddChild(child);
  SchWire* w = b.Connect(a, 0, c, 0);
  SchJunction* j = b.Junction(900, 900);
  SchBus* bus = b.Bus(4, {100, 1000}, {400, 1000}, 1);
  RecordingWatch watch;
  watch.Watch(b.scheme);
  EXPECT_EQ(1, b.scheme->WatchCount());

  // Addresses only: what they point at goes.
  uintptr_t busAddress = reinterpret_cast<uintptr_t>(bus);
  uintptr_t junctionAddress = reinterpret_cast<uintptr_t>(j);
  uintptr_t partAddress = reinterpret_cast<uintptr_t>(a);
  uintptr_t childAddress = reinterpret_cast<uintptr_t>(child);
  uintptr_t wireAddress = reinterpret_cast<uintptr_t>(w);
  uintptr_t lastAddress = reinterpret_cast<uintptr_t>(c);
  delete bus;
  delete j;
  EXPECT_EQ((std::vector<uintptr_t>{busAddress, junctionAddress}), watch.objectsGone);
  // A component takes its child and its wire with it: each is told.
  delete a;
  EXPECT_TRUE(watch.Heard(partAddress));
  EXPECT_TRUE(watch.Heard(childAddress));
  EXPECT_TRUE(watch.Heard(wireAddress));
  watch.objectsGone.clear();
  b.scheme->DeleteObjects();
  EXPECT_EQ((std::vector<uintptr_t>{lastAddress}), watch.objectsGone);
  // Leaving: by watching nothing, or by being destroyed.
  watch.Watch(nullptr);
  EXPECT_EQ(0, b.scheme->WatchCount());
  {
    RecordingWatch brief;
    brief.Watch(b.scheme);
    EXPECT_EQ(1, b.scheme->WatchCount());
  }
  EXPECT_EQ(0, b.scheme->WatchCount());
}

TEST(SchemeWatch, ADeletedSchemeReleasesEveryWatchOnce) {
  RecordingWatch first, second;
  SchScheme* scheme = new SchScheme;
  first.Watch(scheme);
  second.Watch(scheme);
  // Watching another scheme leaves the first one.
  SchScheme other;
  second.Watch(&other);
  second.Watch(scheme);
  EXPECT_EQ(0, other.WatchCount());
  EXPECT_EQ(2, scheme->WatchCount());
  schtest::TestPart* part = new schtest::TestPart(1, 1, 0, 0, L"U");
  part->Attach(scheme);
  uintptr_t schemeAddress = reinterpret_cast<uintptr_t>(scheme);
  delete scheme;
  for (RecordingWatch* watch : {&first, &second}) {
    ASSERT_EQ(1u, watch->schemesGone.size());
    EXPECT_EQ(schemeAddress, watch->schemesGone[0]);
    EXPECT_FALSE(watch->stillWatching);
    EXPECT_EQ(nullptr, watch->GetWatchedScheme());
    // The objects went after the watches had left.
    EXPECT_TRUE(watch->objectsGone.empty());
  }
}

}  // namespace
