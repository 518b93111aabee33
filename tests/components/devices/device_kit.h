// The device test kit: the component kit (tests/components/electronic/
// component_kit.h) with the device creators in the registry, a part that
// hands its net a pin state with a signal source every step, the reading of
// a pin's full state, records whose base record comes last, and the shipped
// pictures.
//
//   devtest::DeviceBench bench;                          // every creator, own scheme
//   auto* m = bench.Create<CSCHDCMotor>("DCMotor");
//   auto* pwm = bench.Add<devtest::StateDriver>();        // one pin
//   pwm->SetPwm(5, 10, 0, 10, 0.02f, 0.075f);              // levels, period, duty
//   auto own = devtest::FieldsBefore<CSCHBlock>(m);       // the record before the base
//
// Every helper puts back what it changes, so tests pass in any order.
#pragma once

#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "components/devices/device_classes.h"
#include "components/electronic/motor/h_bridge.h"
#include "kestui/core/kest_host.h"
#include "kestui/core/kest_host_scope.h"
#include "scheme/model/scheme_host.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"
#include "tests/components/electronic/component_kit.h"

namespace devtest {

// While alive, the class registry holds the program's rows with the
// electronic and the device creators, as at start-up.
class DeviceRegistryScope {
public:
  DeviceRegistryScope() { RegisterDeviceComponentCreators(); }

private:
  comptest::RegistryScope base_;  // built first, ends last
};

// The component bench with the device creators as well.
class DeviceBench : public comptest::Bench {
public:
  DeviceBench() { RegisterDeviceComponentCreators(); }
};

// A one-pin part that hands its net a full pin state (two levels and a
// signal source) in Start and every step.
class StateDriver : public CSCHBlock {
public:
  StateDriver() {
    className = "TestStateDriver";
    SetPinCount(1);
    pins[0].side = kSchSideRight;
  }
  // A PWM signal: first level U behind R, second U2 behind R2, the period
  // and the duty of the first level.
  void SetPwm(float U, float R, float U2, float R2, float period, float duty) {
    SetLevels(U, R, U2, R2, kSchSourceOwnWeight);
    SetPwmSource(&source, period, duty);
  }
  void SetLevels(float U, float R, float U2, float R2, int kind) {
    state = SchPinState{};
    state.U = U;
    state.R = R;
    state.U2 = U2;
    state.R2 = R2;
    state.ownR = kSchOpenResistance;
    state.sourceKind = kind;
    state.source = &source;
  }
  void Start() override { SetPinState(0, state); }
  void Step(float) override { SetPinState(0, state); }

  SchPinState state = {};
  SchSignalSource source = {nullptr, 0};
};

// While alive, the program's host notes the read errors the scheme reader
// reports (a class it does not know after a record read out of step)
// instead of showing them.
class ReadErrorHost : public CKestHost, public CSchemeHost {
public:
  ReadErrorHost() : kestScope_(this), schemeScope_(this) {}
  void ShowReadError(const wchar_t* text) override { texts.push_back(text ? text : L""); }
  int ShowMessage(UINT, const wchar_t*, const wchar_t* text) override {
    texts.push_back(text ? text : L"");
    return IDOK;
  }
  std::vector<std::wstring> texts;

private:
  CKestHostScope kestScope_;
  CSchemeHostScope schemeScope_;
};

// The bytes of the block's record before the base record that ends it
// (Base::Save), e.g. FieldsBefore<CSCHBlock>(motor). A test failure when
// the record does not end with the base record.
template <class Base, class T>
std::vector<uint8_t> FieldsBefore(T* block) {
  std::vector<uint8_t> full = comptest::SaveBytes(block);
  CMemoryStream base;
  block->Base::Save(&base);
  std::vector<uint8_t> tail = comptest::StreamBytes(base);
  if (tail.size() > full.size() || !std::equal(tail.begin(), tail.end(), full.end() - tail.size())) {
    ADD_FAILURE() << "the record does not end with the base record";
    return {};
  }
  return std::vector<uint8_t>(full.begin(), full.end() - tail.size());
}

// The record a block read from bytes writes again once resolved: the
// loaded flag that Load sets is cleared first (the scheme reader's resolve
// pass does that). Its pins must hold no wire identities.
inline std::vector<uint8_t> ResavedBytes(CSCHBlock* loaded) {
  loaded->flags &= ~kSchLoaded;
  return comptest::SaveBytes(loaded);
}

// A text as the little-endian UTF-16 bytes of a record, terminator included.
inline std::vector<uint8_t> WideBytes(const wchar_t* text) {
  std::vector<uint8_t> bytes;
  for (const wchar_t* p = text; *p; p++) {
    bytes.push_back(static_cast<uint8_t>(*p & 0xFF));
    bytes.push_back(static_cast<uint8_t>((*p >> 8) & 0xFF));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

inline std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The folder of the symbol pictures copied beside the test programs.
inline std::wstring ShippedIconsFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"schemeIcons\\";
}

// Whether two colours differ by at most tolerance in every channel (JPEG
// pictures are lossy).
inline bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// The pin's net's rest as its reader sees it (the full state).
inline SchPinState StateAt(CSCHBlock* b, int pin) { return comptest::Bench::State(b, pin); }

}  // namespace devtest
