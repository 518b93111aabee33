// Conversions, text forms, number parsing, type rules and the ownership of
// values, arrays and objects.
#include <cmath>
#include <limits>

#include "script/machine/vm_function.h"
#include "script/values/vm_array.h"
#include "script/values/vm_number_text.h"
#include "script/values/vm_object.h"
#include "script/values/vm_text.h"
#include "script/vm_fixture.h"

namespace {

using vmtest::TextOf;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(VmValue, StringConversions) {
  struct Case {
    const wchar_t* text;
    int32_t asInt;
    double asDouble;
    bool asBool;
  } cases[] = {
      {L"0x1F", 31, 0, false},
      {L"0x1Fz", 31, 0, false},
      {L"0X1F", 0, 0, false},
      {L" -12abc", -12, -12, false},
      {L"abc", 0, 0, false},
      {L"1.5", 1, 1.5, false},
      {L"1e3", 1, 1000, false},
      {L"x", 0, 0, false},
      {L" -2.5e-1z", -2, -0.25, false},
      {L"+7", 7, 7, false},
      {L"99999999999", 2147483647, 99999999999.0, false},
      {L"-99999999999", -2147483647 - 1, -99999999999.0, false},
      {L"true", 0, 0, true},
      {L"True", 0, 0, false},
      {L"1", 1, 1, false},
      {L"0.0", 0, 0, false},
      {L"1e", 1, 1, false},
      {L".5", 0, 0.5, false},
      {L"0x", 0, 0, false},
      {L"0xFFFFFFFF", -1, 0, false},
  };
  for (const Case& c : cases) {
    VmValue v;
    v.SetString(c.text);
    EXPECT_EQ(v.ToInt(), c.asInt) << c.text;
    EXPECT_EQ(v.ToDouble(), c.asDouble) << c.text;
    EXPECT_EQ(v.ToBool(), c.asBool) << c.text;
    EXPECT_EQ(TextOf(v), c.text);
  }
}

TEST(VmValue, EmptyTextIsNoText) {
  VmValue v;
  v.SetString(L"");
  EXPECT_EQ(v.type, VM_STRING);
  EXPECT_EQ(v.text, nullptr);
  wchar_t buffer[kVmTextBufferChars];
  EXPECT_EQ(v.ToText(buffer), nullptr);
  EXPECT_EQ(v.TextLength(), 0);
  EXPECT_EQ(v.ToInt(), 0);
  EXPECT_EQ(v.ToDouble(), 0);
  EXPECT_FALSE(v.ToBool());
  v.SetString(nullptr);
  EXPECT_EQ(v.text, nullptr);
}

TEST(VmValue, NumberConversions) {
  struct Case {
    double d;
    int32_t asInt;
    bool asBool;
  } cases[] = {
      {2.9, 2, true},       {-2.9, -2, true},       {0.0, 0, false},
      {-0.0, 0, false},     {kNaN, -2147483647 - 1, true},
      {kInf, -2147483647 - 1, true},                {-kInf, -2147483647 - 1, true},
      {1e10, -2147483647 - 1, true},                {2147483647.9, 2147483647, true},
      {-2147483648.9, -2147483647 - 1, true},       {-2147483649.0, -2147483647 - 1, true},
  };
  for (const Case& c : cases) {
    VmValue v;
    v.SetDouble(c.d);
    EXPECT_EQ(v.ToInt(), c.asInt) << c.d;
    EXPECT_EQ(v.ToBool(), c.asBool) << c.d;
  }
}

TEST(VmValue, OtherTagsConvert) {
  VmEngine engine;
  VmValue undefined, t, f, i, neg, arr, obj, fn, ref;
  t.SetBool(true);
  f.SetBool(false);
  i.SetInt(0);
  neg.SetInt(-7);
  arr.SetArray(new VmArray(&engine));
  obj.SetObject(new VmObject(&engine));
  fn.SetFunction(new CVMFunction(&engine, L"f"));  // the engine's list owns it
  ref.SetReference(&i);
  struct Case {
    const VmValue* v;
    bool b;
    int32_t n;
    double d;
    const wchar_t* text;
  } cases[] = {
      {&undefined, false, 0, 0, L""},  {&t, true, 1, 1, L"1"},          {&f, false, 0, 0, L"0"},
      {&i, false, 0, 0, L"0"},         {&neg, true, -7, -7, L"-7"},     {&arr, true, 1, 1, L"[array]"},
      {&obj, true, 1, 1, L"[object]"}, {&fn, true, 1, 1, L"[function]"}, {&ref, true, 1, 1, L"[ref]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.v->ToBool(), c.b) << c.text;
    EXPECT_EQ(c.v->ToInt(), c.n) << c.text;
    EXPECT_EQ(c.v->ToDouble(), c.d) << c.text;
    EXPECT_EQ(TextOf(*c.v), c.text);
  }
  wchar_t buffer[kVmTextBufferChars];
  EXPECT_EQ(undefined.ToText(buffer), nullptr);
}

TEST(VmNumberText, DoubleTextForms) {
  struct Case {
    double d;
    const wchar_t* text;
  } cases[] = {
      {100, L"100"},
      {0.1, L"0.1"},
      {1.0 / 3, L"0.3333333333"},
      {-2.5, L"-2.5"},
      {0, L"0"},
      {2.0, L"2"},
      {0.05, L"5.e-002"},
      {12345678901.0, L"1.23456789e+010"},
      {1e9, L"1000000000"},
      {1e10, L"1.e+010"},
      {0.5, L"0.5"},
      {123456.789, L"123456.789"},
      {9999999999.5, L"1.e+010"},
      {0.099999999999, L"0.1"},
      {2.5e-5, L"2.5e-005"},
      {1e-300, L"1.e-300"},
      {1.7976931348623157e308, L"1.797693135e+308"},
      {-1.7976931348623157e308, L"-1.797693135e+308"},
      {4.9406564584124654e-324, L"4.940656458e-324"},
      {-0.0, L"-0"},
      {kInf, L"Infinity"},
      {-kInf, L"-Infinity"},
      {kNaN, L"NaN"},
  };
  for (const Case& c : cases) {
    wchar_t buffer[kVmTextBufferChars];
    EXPECT_STREQ(FormatDoubleText(c.d, buffer), c.text) << c.d;
    VmValue v;
    v.SetDouble(c.d);
    EXPECT_EQ(TextOf(v), c.text);
  }
}

TEST(VmNumberText, IntTextForms) {
  struct Case {
    int32_t v;
    const wchar_t* text;
  } cases[] = {{0, L"0"}, {-7, L"-7"}, {2147483647, L"2147483647"}, {-2147483647 - 1, L"-2147483648"}};
  for (const Case& c : cases) {
    wchar_t buffer[kVmTextBufferChars];
    EXPECT_STREQ(FormatIntText(c.v, buffer), c.text);
  }
}

TEST(VmNumberText, Parsers) {
  struct HexCase {
    const wchar_t* text;
    int32_t value;
  } hex[] = {{L"1F", 31},          {L"ff", 255},      {L"FFFFFFFF", -1}, {L"123456789", 0x23456789},
             {L"1fz", 31},         {L"", 0},          {L"g", 0},         {L"80000000", -2147483647 - 1}};
  for (const HexCase& c : hex) EXPECT_EQ(ParseHexText(c.text), c.value) << c.text;
  EXPECT_EQ(ParseHexText(nullptr), 0);

  struct NumberCase {
    const wchar_t* text;
    double value;
  } numbers[] = {{L"1.5", 1.5},     {L"1.2.3", 1.2},  {L"1e400", 0},     {L"-1e400", 0},
                 {L"1e-400", 0},    {L"2.5E+10", 2.5e10}, {L"1e", 1},    {L"", 0},
                 {L".5", 0.5},      {L"1e-3", 0.001}, {L"12abc", 12},    {L"abc", 0},
                 {L"1.7976931348623157e308", 1.7976931348623157e308}};
  for (const NumberCase& c : numbers) EXPECT_EQ(ParseNumberText(c.text), c.value) << c.text;
  EXPECT_EQ(ParseNumberText(nullptr), 0);
}

TEST(VmTypeRules, ArithmeticAndCommonTypes) {
  struct Case {
    int a, b, arithmetic, common;
  } cases[] = {
      {4, 2, 2, 4}, {4, 4, 2, 4}, {4, 3, 3, 4}, {0, 2, 2, 2}, {1, 1, 1, 1}, {0, 0, 0, 0}, {1, 2, 2, 2},
      {5, 2, 0, 0}, {2, 8, 0, 0}, {3, 1, 3, 3}, {5, 5, 0, 5}, {7, 7, 0, 7}, {8, 8, 0, 8}, {6, 7, 0, 0},
      {0, 4, 2, 4}, {4, 5, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetArithmeticType(c.a, c.b), c.arithmetic) << c.a << "," << c.b;
    EXPECT_EQ(GetCommonType(c.a, c.b), c.common) << c.a << "," << c.b;
  }
}

TEST(VmTypeRules, CompareValues) {
  VmEngine engine;
  VmValue empty, a, b, ten, nine, t, f, i3, d25, undefined, o1, o2, arr1, arr2, nan;
  empty.SetString(L"");
  a.SetString(L"a");
  b.SetString(L"b");
  ten.SetString(L"10");
  nine.SetInt(9);
  t.SetBool(true);
  f.SetBool(false);
  i3.SetInt(3);
  d25.SetDouble(2.5);
  nan.SetDouble(kNaN);
  o1.SetObject(new VmObject(&engine));
  o2.SetObject(new VmObject(&engine));
  arr1.SetArray(new VmArray(&engine));
  arr2.SetArray(new VmArray(&engine));
  arr1.array->Resize(1);
  arr2.array->Resize(2);
  struct Case {
    const VmValue* x;
    const VmValue* y;
    int result;
  } cases[] = {
      {&empty, &a, -1}, {&a, &empty, 1},   {&empty, &empty, 0}, {&o1, &o2, 0},   {&arr2, &arr1, 1},
      {&f, &t, -1},     {&t, &t, 0},       {&i3, &d25, 1},      {&b, &a, 1},     {&ten, &nine, -1},
      {&undefined, &undefined, 0},         {&i3, &undefined, 1}, {&nan, &d25, 0}, {&a, &o1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareValues(*c.x, *c.y), c.result) << TextOf(*c.x) << " " << TextOf(*c.y);
}

TEST(VmValue, CopiesOfStringsAreIndependent) {
  VmValue first, second;
  first.SetString(L"abc");
  second.Assign(first);
  second.SetString(L"xyz");
  EXPECT_EQ(TextOf(first), L"abc");
  EXPECT_EQ(TextOf(second), L"xyz");
  second.Assign(first);
  first.Release();
  EXPECT_EQ(TextOf(second), L"abc");
  EXPECT_EQ(first.type, VM_UNDEFINED);
}

TEST(VmValue, MoveLeavesTheSourceUndefined) {
  VmEngine engine;
  int arrays = g_vmLiveCounts.arrays;
  {
    VmValue a, b;
    a.SetArray(new VmArray(&engine));
    b.MoveFrom(a);
    EXPECT_EQ(a.type, VM_UNDEFINED);
    EXPECT_EQ(b.array->refs, 1);
  }
  EXPECT_EQ(g_vmLiveCounts.arrays, arrays);
}

TEST(VmArray, ResizePushAndPop) {
  VmEngine engine;
  VmValue holder;
  VmArray* a = new VmArray(&engine);
  holder.SetArray(a);
  EXPECT_EQ(engine.Arrays(), a);
  ASSERT_TRUE(a->Resize(3));
  EXPECT_EQ(a->count, 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(a->items[k].type, VM_UNDEFINED);
  VmValue v;
  v.SetString(L"s");
  ASSERT_TRUE(a->PushBack(v));
  EXPECT_EQ(a->count, 4);
  EXPECT_EQ(TextOf(a->items[3]), L"s");
  EXPECT_EQ(TextOf(v), L"s");
  VmValue out;
  a->PopBack(&out);
  EXPECT_EQ(TextOf(out), L"s");
  EXPECT_EQ(a->count, 3);
  ASSERT_TRUE(a->Resize(0));
  a->PopBack(&out);
  EXPECT_EQ(out.type, VM_UNDEFINED);
  EXPECT_FALSE(a->Resize(-1));
  EXPECT_FALSE(a->Resize(VmArray::kMaxItems + 1));
  EXPECT_EQ(a->count, 0);
}

TEST(VmArray, HeldOnlyByOneVariableGoesWithIt) {
  VmEngine engine;
  int arrays = g_vmLiveCounts.arrays, texts = g_vmLiveCounts.texts;
  VmVariable variable(L"a");
  VmArray* a = new VmArray(&engine);
  variable.value.SetArray(a);
  VmValue s;
  s.SetString(L"item");
  a->PushBack(s);
  s.Release();
  EXPECT_EQ(g_vmLiveCounts.arrays, arrays + 1);
  variable.value.SetInt(1);
  EXPECT_EQ(g_vmLiveCounts.arrays, arrays);
  EXPECT_EQ(g_vmLiveCounts.texts, texts);
  EXPECT_EQ(engine.Arrays(), nullptr);
}

TEST(VmObject, PropertiesNewestFirst) {
  VmEngine engine;
  VmValue holder;
  VmObject* o = new VmObject(&engine);
  holder.SetObject(o);
  EXPECT_EQ(o->FindProperty(L"p"), nullptr);
  VmVariable* p1 = o->AddProperty(L"p");
  VmVariable* q = o->AddProperty(L"q");
  VmVariable* p2 = o->AddProperty(L"p");
  EXPECT_EQ(o->properties, p2);
  EXPECT_EQ(p2->next, q);
  EXPECT_EQ(o->FindProperty(L"p"), p2);
  EXPECT_EQ(o->FindProperty(L"q"), q);
  EXPECT_NE(p1, p2);
  EXPECT_EQ(p2->value.type, VM_UNDEFINED);
}

TEST(VmEngine, ResetFreesCyclesExactlyOnce) {
  VmLiveCounts before = g_vmLiveCounts;
  {
    VmEngine engine;
    VmVariable* g = new VmVariable(L"g");
    engine.AddGlobal(g);
    VmArray* a = new VmArray(&engine);
    VmObject* o = new VmObject(&engine);
    g->value.SetArray(a);
    VmValue v;
    v.SetArray(a);
    a->PushBack(v);  // the array holds itself
    v.SetObject(o);
    a->PushBack(v);
    o->AddProperty(L"self")->value.SetObject(o);
    o->AddProperty(L"arr")->value.SetArray(a);
    v.SetString(L"text");
    o->AddProperty(L"s")->value.Assign(v);
    v.Release();
    g->value.Release();  // only the cycles keep them now
    EXPECT_EQ(g_vmLiveCounts.arrays, before.arrays + 1);
    EXPECT_EQ(g_vmLiveCounts.objects, before.objects + 1);
    engine.Reset();
    EXPECT_EQ(g_vmLiveCounts.arrays, before.arrays);
    EXPECT_EQ(g_vmLiveCounts.objects, before.objects);
    EXPECT_EQ(g_vmLiveCounts.variables, before.variables);
    EXPECT_EQ(g_vmLiveCounts.texts, before.texts);
    EXPECT_EQ(engine.Arrays(), nullptr);
    EXPECT_EQ(engine.Objects(), nullptr);
    EXPECT_EQ(engine.Globals(), nullptr);
  }
  EXPECT_EQ(g_vmLiveCounts.functions, before.functions);
  EXPECT_EQ(g_vmLiveCounts.frames, before.frames);
}

TEST(VmEngine, ReleasingALongChainTakesNoDeepRecursion) {
  VmEngine engine;
  int arrays = g_vmLiveCounts.arrays;
  VmValue head;
  for (int k = 0; k < 200000; ++k) {
    VmArray* a = new VmArray(&engine);
    a->PushBackMove(head);
    head.SetArray(a);
  }
  EXPECT_EQ(g_vmLiveCounts.arrays, arrays + 200000);
  head.Release();
  EXPECT_EQ(g_vmLiveCounts.arrays, arrays);
}

TEST(VmText, LengthIsCapped) {
  EXPECT_EQ(VmText::Create(L"a", 1, L"b", VmText::kMaxLength), nullptr);
  EXPECT_EQ(VmText::Create(nullptr, 0), nullptr);
  VmText* t = VmText::Create(L"ab", 2, L"cd", 2);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->Chars(), L"abcd");
  EXPECT_EQ(t->Length(), 4);
  t->Release();
}

}  // namespace
