// CBlockHost: what the block engine asks of the program it runs in: a
// block-diagram editor window on a block scheme (a programmable unit's
// Edit), and the property dialog of a block (a double click in the
// editor). They call the host installed now (GetBlockHost); Velkboard
// installs its own (CVelkboardHost), tests install theirs with
// CBlockHostScope.
//
// The base class answers for a process without a program of its own: no
// windows, no dialogs.
#pragma once

#include "kestui/core/kest_service_slot.h"

class BeScheme;
class CBEBlock;

class CBlockHost {
public:
  CBlockHost() = default;
  virtual ~CBlockHost() = default;
  CBlockHost(const CBlockHost&) = delete;
  CBlockHost& operator=(const CBlockHost&) = delete;

  // Opens a block-diagram editor window on scheme, titled title (a
  // programmable unit's part name, or null). Base: nothing; answers false.
  virtual bool OpenBlockEditor(BeScheme* scheme, const wchar_t* title);

  // The modal property dialog of a block; true when the user confirmed it
  // with OK. Base: no dialog; false.
  virtual bool ShowBlockProperties(CBEBlock* block);
};

// The block host installed now; never null (the base host when none was).
CBlockHost* GetBlockHost();
// Installs host (null: the base host) and returns the one it replaces, which
// the caller reinstalls when it is done. The host is not owned.
CBlockHost* SetBlockHost(CBlockHost* host);

using CBlockHostScope = CKestServiceScope<CBlockHost, SetBlockHost>;
