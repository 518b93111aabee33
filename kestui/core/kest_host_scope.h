// CKestHostScope: installs a host while it lives and reinstalls the one
// before it when it goes (tests and nested uses).
#pragma once

#include "kestui/core/kest_host.h"

class CKestHostScope {
public:
  explicit CKestHostScope(CKestHost* host) : previous_(SetKestHost(host)) {}
  ~CKestHostScope() { SetKestHost(previous_); }
  CKestHostScope(const CKestHostScope&) = delete;
  CKestHostScope& operator=(const CKestHostScope&) = delete;

private:
  CKestHost* previous_;
};
