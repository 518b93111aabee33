// The module "fuzzydll.dll" of the fuzzy-logic blocks: loaded by the first
// fuzzy block made, bound by its thirteen entry points, and unloaded when
// the last block that holds it goes. It also keeps what every fuzzy block
// of the program shares: the flag of a fuzzy step running now and the flag
// of an editor opened from a run (with the cursor shown for it).
#pragma once

#include <windows.h>

#include "blocks/library/navigation/fuzzy_api.h"
#include "foundation/paths.h"

extern const wchar_t kBeFuzzyModuleFile[];    // "fuzzydll.dll"
extern const wchar_t kBeFuzzyLoadError[];     // the message when it cannot be used
extern const wchar_t kBeFuzzyLoadErrorCaption[];

class BeFuzzyModule {
public:
  // folder: where the module lies, with its last separator; null: the
  // program file's folder.
  explicit BeFuzzyModule(const wchar_t* folder = nullptr);
  // Unloads the module when it is still loaded.
  virtual ~BeFuzzyModule();
  BeFuzzyModule(const BeFuzzyModule&) = delete;
  BeFuzzyModule& operator=(const BeFuzzyModule&) = delete;

  // A block begins to use the module: loads and binds it when no block
  // holds it, and counts the block. False when the module is missing or
  // lacks an entry point; the first such failure of the object is reported
  // with a message box (later ones are not), and the next call tries again.
  bool Acquire();
  // A block that Acquire answered true for stops using the module; the
  // last one unloads it (hiding the cursor first when an editor opened
  // from a run still had it shown).
  void Release();
  bool IsLoaded() const { return module_ != nullptr; }
  int GetUserCount() const { return users_; }

  // Whether the key that opens the editor during a run (F) is held down:
  // the asynchronous key state.
  virtual bool IsEditorKeyDown();
  // ShowCursor with TRUE or FALSE.
  virtual void ShowMouseCursor(bool show);

  static const int kEntryCount = 13;
  static const char* const kEntryNames[kEntryCount];

  // The module that new fuzzy blocks use: the program's own (in the program
  // folder) unless another was installed.
  static BeFuzzyModule* Program();
  // Installs module for the blocks made from now on (null: the program's
  // own) and returns the one it replaces, which the caller puts back. Blocks
  // keep the module they were made with, so it must outlive them.
  static BeFuzzyModule* SetProgram(BeFuzzyModule* module);

  // Shared by every fuzzy block of the module.
  bool running = false;        // a fuzzy step runs now
  bool editorFromRun = false;  // an editor was opened from a run; the cursor is shown for it

  // The entry points, bound while the module is loaded.
  BeFuzzyCreateFn CreateFuzzy = nullptr;
  BeFuzzyDestroyFn DestroyFuzzy = nullptr;
  BeFuzzyExecuteFn FuzzyExecute = nullptr;
  BeFuzzyGetCountFn FuzzyGetInputCount = nullptr;
  BeFuzzyGetNameFn GetFuzzyInputName = nullptr;
  BeFuzzyGetCountFn FuzzyGetOutputCount = nullptr;
  BeFuzzySetInputFn FuzzySetInput = nullptr;
  BeFuzzyGetOutputFn FuzzyGetOutput = nullptr;
  BeFuzzyGetNameFn GetFuzzyOutputName = nullptr;
  BeFuzzyOpenEditorFn FuzzyOpenEditor = nullptr;
  BeFuzzyIsEditorFn FuzzyIsEditor = nullptr;
  BeFuzzySaveFn FuzzySave = nullptr;
  BeFuzzyLoadFn FuzzyLoad = nullptr;

private:
  bool Load();
  void Unload();

  wchar_t folder_[kFoundationMaxPathChars] = {};
  bool ownFolder_ = false;  // folder_ was given; otherwise the program's folder
  HMODULE module_ = nullptr;
  int users_ = 0;
  bool reported_ = false;
};
