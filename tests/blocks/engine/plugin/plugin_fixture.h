// Shared pieces of the plug-in tests: a plug-in folder made of the test DLLs
// built beside the test program, loaded into the program's plug-in list for
// the life of a test, and the test DLLs' query exports.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/engine/plugin/plugin_block.h"
#include "blocks/engine/plugin/plugin_list.h"
#include "blocks/engine/plugin/plugin_module.h"
#include "foundation/buffers.h"
#include "foundation/paths.h"
#include "support/test_support.h"

namespace plugtest {

// A DLL built beside the test program.
inline std::wstring BuiltPlugin(const wchar_t* name) {
  wchar_t dir[kFoundationMaxPathChars];
  GetExeDirectory(dir);
  return std::wstring(dir) + name;
}

// A temporary folder holding copies of built DLLs under chosen names, loaded
// into the program's plug-in list; the list, its folder and the plug-in
// choice are put back when the object goes (modules first, then the files).
class ProgramPlugins {
public:
  // pairs of (built DLL, name in the folder)
  explicit ProgramPlugins(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> files) {
    BePluginList& list = ProgramPluginList();
    savedFolder_ = list.folder ? list.folder : L"";
    hadFolder_ = list.folder != nullptr;
    for (const auto& f : files) {
      copied_ &= CopyFileW(BuiltPlugin(f.first).c_str(), temp_.File(f.second).c_str(), FALSE) != 0;
    }
    list.SetFolder(temp_.Path().c_str());
    list.ScanFolder();
  }
  ~ProgramPlugins() {
    BePluginList& list = ProgramPluginList();
    list.Clear();
    list.SetFolder(hadFolder_ ? savedFolder_.c_str() : nullptr);
    ClearPluginChoice();
  }
  ProgramPlugins(const ProgramPlugins&) = delete;
  ProgramPlugins& operator=(const ProgramPlugins&) = delete;

  bool Copied() const { return copied_; }
  const velktest::TempFolder& Folder() const { return temp_; }
  BePluginModule* Find(const wchar_t* name) const { return ProgramPluginList().FindModule(name); }

private:
  velktest::TempFolder temp_;
  std::wstring savedFolder_;
  bool hadFolder_ = false;
  bool copied_ = true;
};

// The test DLL's counters (see plugins/test_plugin.c).
enum Query { kLive = 0, kMade, kInits, kDones, kTicks, kSaves, kLoads, kRegistered, kLastDtMs };

inline int Query(const BePluginModule* m, int what) {
  typedef int32_t(__cdecl * QueryFn)(int32_t);
  QueryFn fn = m ? reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(m->module, "TestQuery")))
                 : nullptr;
  return fn ? fn(what) : -100;
}

enum BlockValue { kOffset = 0, kBlockTicks, kBytesRead, kLevelMilli, kLabelFirst };

inline int BlockValue(const BePluginModule* m, BePluginHandle handle, int what) {
  typedef int32_t(__cdecl * ValueFn)(BePluginHandle, int32_t);
  ValueFn fn = m ? reinterpret_cast<ValueFn>(
                       reinterpret_cast<void*>(GetProcAddress(m->module, "TestBlockValue")))
                 : nullptr;
  return fn ? fn(handle, what) : -100;
}

inline void SetAdder(const BePluginModule* m, BePluginHandle handle, int offset, const wchar_t* label) {
  typedef void(__cdecl * SetFn)(BePluginHandle, int32_t, const wchar_t*);
  SetFn fn = reinterpret_cast<SetFn>(reinterpret_cast<void*>(GetProcAddress(m->module, "TestSetAdder")));
  ASSERT_NE(nullptr, fn);
  fn(handle, offset, label);
}

// Little-endian helpers for records written by hand.
inline void Put16(std::vector<uint8_t>* b, int v) {
  b->push_back(static_cast<uint8_t>(v & 0xFF));
  b->push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
inline void Put32(std::vector<uint8_t>* b, unsigned int v) {
  for (int i = 0; i < 4; ++i) b->push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}
inline void PutText(std::vector<uint8_t>* b, const wchar_t* text) {
  for (const wchar_t* p = text; p && *p; ++p) Put16(b, *p);
  Put16(b, 0);
}

}  // namespace plugtest
