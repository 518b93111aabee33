// The storage that array items and with scopes grow in: values move as
// bytes when it grows, so every count they hold must come through intact.
#include "foundation/buffer_failure_scope.h"
#include "script/values/vm_array.h"
#include "script/values/vm_object.h"
#include "script/values/vm_text.h"
#include "script/values/vm_value_storage.h"
#include "script/values/vm_variable.h"
#include "script/vm_fixture.h"

namespace {

using vmtest::TextOf;

// Three shared things a value can hold: a text, an array and an object.
struct Shared {
  explicit Shared(VmEngine* engine) {
    text.SetString(L"текст");
    VmArray* a = new VmArray(engine);
    array.SetArray(a);
    VmValue seven;
    seven.SetInt(7);
    a->PushBack(seven);
    VmObject* o = new VmObject(engine);
    object.SetObject(o);
    o->AddProperty(L"p")->value.SetInt(5);
  }
  // Item k of the pattern: the text, the array, the object or the number k.
  void Set(VmValue* v, int k) const {
    switch (k % 4) {
      case 0: v->Assign(text); break;
      case 1: v->Assign(array); break;
      case 2: v->Assign(object); break;
      default: v->SetInt(k); break;
    }
  }
  ::testing::AssertionResult Holds(const VmValue& v, int k) const {
    bool ok = false;
    switch (k % 4) {
      case 0: ok = v.type == VM_STRING && v.text == text.text; break;
      case 1: ok = v.type == VM_ARRAY && v.array == array.array; break;
      case 2: ok = v.type == VM_OBJECT && v.object == object.object; break;
      default: ok = v.type == VM_INTEGER && v.i == k; break;
    }
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "item " << k << " has tag " << int(v.type);
  }
  // The counts held by values other than these three, for n items of the
  // pattern: each shared thing is held once here and once per item.
  ::testing::AssertionResult CountsFor(int n) const {
    int texts = (n + 3) / 4, arrays = (n + 2) / 4, objects = (n + 1) / 4;
    if (text.text->Refs() != 1 + texts)
      return ::testing::AssertionFailure() << "text held " << text.text->Refs() << " times";
    if (array.array->refs != 1 + arrays)
      return ::testing::AssertionFailure() << "array held " << array.array->refs << " times";
    if (object.object->refs != 1 + objects)
      return ::testing::AssertionFailure() << "object held " << object.object->refs << " times";
    return ::testing::AssertionSuccess();
  }
  VmValue text, array, object;
};

TEST(VmValueStorage, GrowsByDoublingWithUndefinedSlots) {
  VmValue* items = nullptr;
  int capacity = 0;
  ASSERT_TRUE(GrowValueStorage(&items, &capacity, 3, 4));
  EXPECT_EQ(capacity, 4);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(items[k].type, VM_UNDEFINED);
    EXPECT_EQ(items[k].refKind, kVmRefValue);
  }
  items[0].SetInt(11);
  ASSERT_TRUE(GrowValueStorage(&items, &capacity, 9, 4));
  EXPECT_EQ(capacity, 16);
  EXPECT_EQ(items[0].i, 11);
  for (int k = 4; k < 16; ++k) EXPECT_EQ(items[k].type, VM_UNDEFINED);
  ASSERT_TRUE(GrowValueStorage(&items, &capacity, 2, 4));  // never shrinks
  EXPECT_EQ(capacity, 16);
  EXPECT_FALSE(GrowValueStorage(&items, &capacity, -1, 4));
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(GrowValueStorage(&items, &capacity, 17, 4));
  }
  EXPECT_EQ(capacity, 16);
  EXPECT_EQ(items[0].i, 11);
  EXPECT_EQ(ValueStorageIndex(items, 16, &items[5]), 5);
  EXPECT_EQ(ValueStorageIndex(items, 5, &items[5]), -1);
  VmValue elsewhere;
  EXPECT_EQ(ValueStorageIndex(items, 16, &elsewhere), -1);
  EXPECT_EQ(ValueStorageIndex(nullptr, 0, &elsewhere), -1);
  FreeValueStorage(&items, &capacity);
  EXPECT_EQ(items, nullptr);
  EXPECT_EQ(capacity, 0);
}

TEST(VmValueStorage, ArrayItemsKeepTheirCountsThroughGrowthsAndShrinks) {
  VmLiveCounts before = g_vmLiveCounts;
  {
    VmEngine engine;
    Shared shared(&engine);
    VmValue holder;
    VmArray* a = new VmArray(&engine);
    holder.SetArray(a);
    // Grown one push at a time past many doublings, cut back, grown again
    // by Resize, cut to nothing.
    const int sizes[][2] = {{5000, 37}, {3000, 0}, {9, 8}, {20000, 1}};
    for (const auto& round : sizes) {
      int start = a->count;
      for (int k = start; k < round[0]; ++k) {
        VmValue v;
        shared.Set(&v, k);
        if (k % 2) {
          ASSERT_TRUE(a->PushBack(v)) << k;
        } else {
          ASSERT_TRUE(a->PushBackMove(v)) << k;
        }
      }
      ASSERT_EQ(a->count, round[0]);
      for (int k = 0; k < a->count; ++k) ASSERT_TRUE(shared.Holds(a->items[k], k));
      ASSERT_TRUE(shared.CountsFor(a->count));
      ASSERT_TRUE(a->Resize(round[1]));
      ASSERT_TRUE(shared.CountsFor(a->count));
      for (int k = 0; k < a->count; ++k) ASSERT_TRUE(shared.Holds(a->items[k], k));
    }
    // Resize grows with undefined items, which the pattern then fills.
    ASSERT_TRUE(a->Resize(4096));
    for (int k = 1; k < 4096; ++k) EXPECT_EQ(a->items[k].type, VM_UNDEFINED);
    for (int k = 1; k < 4096; ++k) shared.Set(&a->items[k], k);
    ASSERT_TRUE(shared.CountsFor(4096));
  }
  EXPECT_EQ(g_vmLiveCounts.arrays, before.arrays);
  EXPECT_EQ(g_vmLiveCounts.objects, before.objects);
  EXPECT_EQ(g_vmLiveCounts.texts, before.texts);
  EXPECT_EQ(g_vmLiveCounts.variables, before.variables);
}

TEST(VmValueStorage, AnItemPushedOntoItsOwnArrayIsCopiedAcrossTheGrowth) {
  VmEngine engine;
  Shared shared(&engine);
  VmValue holder;
  VmArray* a = new VmArray(&engine);
  holder.SetArray(a);
  // The room doubles from 8: pushing the 9th, 17th, 33rd ... item moves the
  // block while the pushed value is one of its items.
  for (int k = 0; k < 8; ++k) {
    VmValue v;
    shared.Set(&v, k);
    ASSERT_TRUE(a->PushBack(v));
  }
  for (int k = 8; k < 100; ++k) ASSERT_TRUE(a->PushBack(a->items[k - 8])) << k;
  for (int k = 0; k < 100; ++k) ASSERT_TRUE(shared.Holds(a->items[k], k % 8));
  EXPECT_EQ(shared.text.text->Refs(), 1 + 25);  // items 0, 4, 8 ... 96
  EXPECT_EQ(shared.array.array->refs, 1 + 25);
  EXPECT_EQ(shared.object.object->refs, 1 + 25);
  // Moved onto its own array: the first item goes to the end (past the
  // room of 128) and leaves its place undefined, its count unchanged.
  for (int k = 100; k < 128; ++k) ASSERT_TRUE(a->PushBack(a->items[k % 8]));
  ASSERT_TRUE(a->PushBackMove(a->items[0]));
  ASSERT_EQ(a->count, 129);
  EXPECT_EQ(a->items[0].type, VM_UNDEFINED);
  EXPECT_TRUE(shared.Holds(a->items[128], 0));
  EXPECT_EQ(shared.text.text->Refs(), 1 + 32);  // items 4, 8 ... 124 and 128
}

TEST(VmValueStorage, RefusedGrowthLeavesTheArrayAsItWas) {
  VmEngine engine;
  Shared shared(&engine);
  VmValue holder;
  VmArray* a = new VmArray(&engine);
  holder.SetArray(a);
  for (int k = 0; k < 8; ++k) {
    VmValue v;
    shared.Set(&v, k);
    ASSERT_TRUE(a->PushBack(v));
  }
  {
    CBufferFailureScope refuse(0);
    VmValue v;
    shared.Set(&v, 0);
    EXPECT_FALSE(a->PushBack(v));
    EXPECT_FALSE(a->PushBackMove(v));
    EXPECT_FALSE(a->PushBack(a->items[0]));
    EXPECT_FALSE(a->Resize(9));
    EXPECT_TRUE(a->Resize(8));  // no growth needed
    EXPECT_GT(refuse.GetRefusals(), 0);
  }
  EXPECT_EQ(a->count, 8);
  for (int k = 0; k < 8; ++k) EXPECT_TRUE(shared.Holds(a->items[k], k));
  EXPECT_TRUE(shared.CountsFor(8));
}

TEST(VmValueStorage, WithScopesKeepTheirCountsAndStopAtTheLimit) {
  VmLiveCounts before = g_vmLiveCounts;
  {
    VmEngine engine;
    Shared shared(&engine);
    for (int round = 0; round < 3; ++round) {
      for (int k = engine.TopScopeCount(); k < VmScopeList::kMaxEntries; ++k) {
        VmValue v;
        shared.Set(&v, k);
        ASSERT_TRUE(engine.PushScopeObject(v)) << k;
      }
      VmValue extra;
      EXPECT_FALSE(engine.PushScopeObject(extra));
      ASSERT_TRUE(shared.CountsFor(VmScopeList::kMaxEntries));
      while (engine.TopScopeCount() > 3 * round) engine.PopScopeObject();
      ASSERT_TRUE(shared.CountsFor(3 * round));
    }
    {
      CBufferFailureScope refuse(0);
      VmValue v;
      shared.Set(&v, 6);
      // 6 entries in a room of 4096: no growth, so the push needs no memory.
      EXPECT_TRUE(engine.PushScopeObject(v));
      EXPECT_EQ(refuse.GetRefusals(), 0);
    }
    EXPECT_TRUE(shared.CountsFor(7));
    VmEngine fresh;
    {
      CBufferFailureScope refuse(0);
      EXPECT_FALSE(fresh.PushScopeObject(shared.text));
    }
    EXPECT_EQ(fresh.TopScopeCount(), 0);
    EXPECT_TRUE(shared.CountsFor(7));
  }
  EXPECT_EQ(g_vmLiveCounts.arrays, before.arrays);
  EXPECT_EQ(g_vmLiveCounts.objects, before.objects);
  EXPECT_EQ(g_vmLiveCounts.texts, before.texts);
}

}  // namespace
