// The growable array of plain items and the stepped growth of arrays kept as
// a count beside a pointer.
#include <climits>
#include <cstdint>

#include "foundation/buffer_failure_scope.h"
#include "foundation/plain_array.h"
#include "support/test_support.h"

namespace {

struct Pair {
  int a;
  short b;
  bool operator==(const Pair& other) const { return a == other.a && b == other.b; }
};

}  // namespace

TEST(SteppedCapacity, RoundsUpToWholeSteps) {
  struct Case {
    int count, step, capacity;
  } cases[] = {
      {0, 32, 0},  {-5, 32, 0}, {1, 32, 32},  {32, 32, 32},           {33, 32, 64},
      {7, 1, 7},   {7, 0, 7},   {7, -3, 7},   {5, 4, 8},              {INT_MAX, 1, INT_MAX},
      {INT_MAX - 1, 16, INT_MAX},  // the rounding would overflow: capped
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.capacity, SteppedCapacity(c.count, c.step)) << c.count << " in steps of " << c.step;
  }
}

TEST(PlainArray, AppendInsertRemoveKeepOrder) {
  CPlainArray<int> array(4);
  EXPECT_TRUE(array.IsEmpty());
  EXPECT_EQ(nullptr, array.Data());
  for (int i = 1; i <= 6; ++i) ASSERT_TRUE(array.Append(i * 10));
  ASSERT_TRUE(array.Insert(0, 5));
  ASSERT_TRUE(array.Insert(3, 25));
  ASSERT_TRUE(array.Insert(100, 70));  // clamped to the end
  ASSERT_TRUE(array.Insert(-2, 1));    // clamped to the front
  const int expected[] = {1, 5, 10, 20, 25, 30, 40, 50, 60, 70};
  ASSERT_EQ(10, array.Count());
  for (int i = 0; i < 10; ++i) EXPECT_EQ(expected[i], array[i]) << i;

  EXPECT_TRUE(array.RemoveAt(0));
  EXPECT_TRUE(array.RemoveAt(3));  // 25
  EXPECT_TRUE(array.RemoveAt(array.Count() - 1));
  EXPECT_FALSE(array.RemoveAt(-1));
  EXPECT_FALSE(array.RemoveAt(array.Count()));
  const int left[] = {5, 10, 20, 30, 40, 50, 60};
  ASSERT_EQ(7, array.Count());
  int i = 0;
  for (int value : array) EXPECT_EQ(left[i++], value);

  EXPECT_EQ(3, array.IndexOf(30));
  EXPECT_EQ(-1, array.IndexOf(25));
  EXPECT_TRUE(array.Contains(60));
  array.Clear();
  EXPECT_EQ(0, array.Count());
  EXPECT_EQ(nullptr, array.Data());
}

TEST(PlainArray, ResizeZeroesNewItemsAndStructsCopyWhole) {
  CPlainArray<Pair> array;
  ASSERT_TRUE(array.Append(Pair{7, 3}));
  ASSERT_TRUE(array.Resize(4));
  EXPECT_EQ((Pair{7, 3}), array[0]);
  for (int i = 1; i < 4; ++i) EXPECT_EQ((Pair{0, 0}), array[i]) << i;
  ASSERT_TRUE(array.Resize(1));
  ASSERT_TRUE(array.Resize(2));  // the dropped items come back zeroed
  EXPECT_EQ((Pair{0, 0}), array[1]);
  EXPECT_FALSE(array.Resize(-1));
  EXPECT_EQ(2, array.Count());
}

TEST(PlainArray, AppendsItsOwnItemWhileMoving) {
  // The item appended lives in the block that grows: it is copied first.
  CPlainArray<int64_t> array;
  ASSERT_TRUE(array.Append(0x1122334455667788LL));
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(array.Append(array[0]));
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(array.Insert(1, array[array.Count() - 1]));
  ASSERT_EQ(401, array.Count());
  for (int64_t value : array) EXPECT_EQ(0x1122334455667788LL, value);
}

TEST(ResizeSteppedArray, ReallocatesOnlyWhenTheStepChanges) {
  int* items = nullptr;
  ASSERT_TRUE(ResizeSteppedArray(&items, 0, 1, 32));
  ASSERT_NE(nullptr, items);
  int* first = items;
  items[0] = 9;
  // Up to 32 items the block stays where it is.
  ASSERT_TRUE(ResizeSteppedArray(&items, 1, 32, 32));
  EXPECT_EQ(first, items);
  EXPECT_EQ(9, items[0]);
  for (int i = 1; i < 32; ++i) EXPECT_EQ(0, items[i]) << i;
  ASSERT_TRUE(ResizeSteppedArray(&items, 32, 33, 32));
  EXPECT_EQ(9, items[0]);
  EXPECT_EQ(0, items[32]);
  ASSERT_TRUE(ResizeSteppedArray(&items, 33, 0, 32));
  EXPECT_EQ(nullptr, items);
}

TEST(ResizeSteppedArray, RefusesBadCountsAndOverflowLeavingTheBlock) {
  double* items = nullptr;
  ASSERT_TRUE(ResizeSteppedArray(&items, 0, 3, 1));
  double* block = items;
  items[2] = 2.5;
  EXPECT_FALSE(ResizeSteppedArray(&items, 3, -1, 1));
  EXPECT_EQ(block, items);
  // INT_MAX doubles pass the largest block (2^31 - 1 bytes) at either
  // width: refused before the heap is asked, not wrapped to a small block.
  // So is the first count whose bytes pass it.
  EXPECT_FALSE(ResizeSteppedArray(&items, 3, INT_MAX, 1));
  EXPECT_FALSE(ResizeSteppedArray(&items, 3, INT_MAX / 8 + 1, 1));
  EXPECT_EQ(block, items);
  EXPECT_EQ(2.5, items[2]);
  FreeBuffer(items);
}

TEST(ResizeGrowingArray, DoublesFromTheFirstCapacity) {
  int* items = nullptr;
  int capacity = 0;
  // count wanted -> capacity: 0 -> 0, 1 -> 4, 4 -> 4, 5 -> 8, 9 -> 16, 40 -> 64.
  const struct {
    int count;
    int capacity;
  } kCases[] = {{0, 0}, {1, 4}, {4, 4}, {5, 8}, {9, 16}, {40, 64}, {3, 64}};
  for (const auto& c : kCases) {
    int before = capacity;
    ASSERT_TRUE(ResizeGrowingArray(&items, &capacity, c.count, 4)) << c.count;
    EXPECT_EQ(c.capacity, capacity) << c.count;
    if (capacity != before) {
      EXPECT_EQ(0, items[capacity - 1]) << c.count;
      items[capacity - 1] = 7;  // a later growth keeps it
    }
  }
  EXPECT_EQ(7, items[15]);
  EXPECT_EQ(0, items[17]);
  FreeBuffer(items);
}

TEST(ResizeGrowingArray, FailureLeavesTheArrayUntouched) {
  int* items = nullptr;
  int capacity = 0;
  ASSERT_TRUE(ResizeGrowingArray(&items, &capacity, 2, 2));
  items[0] = 11;
  items[1] = 12;
  int* block = items;
  {
    CBufferFailureScope failing(0);
    EXPECT_FALSE(ResizeGrowingArray(&items, &capacity, 3, 2));
  }
  EXPECT_EQ(block, items);
  EXPECT_EQ(2, capacity);
  EXPECT_EQ(12, items[1]);
  EXPECT_FALSE(ResizeGrowingArray(&items, &capacity, -1, 2));
  EXPECT_EQ(2, capacity);
  // 2^29 ints are 2^31 bytes, one past the largest block: refused at both
  // widths, the array untouched.
  EXPECT_FALSE(ResizeGrowingArray(&items, &capacity, 1 << 29, 2));
  EXPECT_EQ(block, items);
  EXPECT_EQ(2, capacity);
  ASSERT_TRUE(ResizeGrowingArray(&items, &capacity, 3, 2));
  EXPECT_EQ(4, capacity);
  EXPECT_EQ(11, items[0]);
  EXPECT_EQ(0, items[3]);
  FreeBuffer(items);
}
