#include "blocks/engine/block_host.h"

namespace {

CKestServiceSlot<CBlockHost> g_host;

}  // namespace

bool CBlockHost::OpenBlockEditor(BeScheme*, const wchar_t*) { return false; }

bool CBlockHost::ShowBlockProperties(CBEBlock*) { return false; }

CBlockHost* GetBlockHost() { return g_host.Get(); }

CBlockHost* SetBlockHost(CBlockHost* host) { return g_host.Set(host); }
