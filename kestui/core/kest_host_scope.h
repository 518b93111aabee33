// CKestHostScope: installs a host while it lives and reinstalls the one
// before it when it goes (tests and nested uses).
#pragma once

#include "kestui/core/kest_host.h"
#include "kestui/core/kest_service_slot.h"

using CKestHostScope = CKestServiceScope<CKestHost, SetKestHost>;
