/* The contract between Velkboard and a plug-in block DLL. Both sides include
   this header: the program binds the nine exports below by name and hands
   the DLL the table of 28 host functions. Every function on both sides uses
   the cdecl convention of 32-bit Windows; texts are zero-terminated UTF-16.

   A plug-in block handle is an opaque pointer-sized value the DLL makes and
   the program passes back (0: none). The host block is an opaque pointer the
   program gives a kind's creator; the DLL keeps it and passes it to the host
   functions. A stream is an opaque pointer valid only during the "SaveBlock"
   or "LoadBlock" call it was handed to. */
#ifndef VELK_PLUGIN_API_H
#define VELK_PLUGIN_API_H

#include <stdint.h>
#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

#define BE_PLUGIN_CALL __cdecl

typedef uintptr_t BePluginHandle;
typedef struct BePluginHostBlock BePluginHostBlock;
typedef struct BePluginStream BePluginStream;

/* A kind's creator: makes the DLL's block for the host block; 0 for failure. */
typedef BePluginHandle(BE_PLUGIN_CALL* BePluginCreator)(BePluginHostBlock* block);

/* The host functions, in table order. Pin indexes outside the counts set,
   negative counts and type codes outside the tables are ignored (getters
   answer 0). Input types are 0-40, output types 0-36. */
typedef struct BeHostCallbacks {
  void(BE_PLUGIN_CALL* SetBlockCaption)(BePluginHostBlock* block, const wchar_t* text);
  void(BE_PLUGIN_CALL* SetBlockSize)(BePluginHostBlock* block, int32_t width, int32_t height);
  void(BE_PLUGIN_CALL* SetInputCount)(BePluginHostBlock* block, int32_t count);
  void(BE_PLUGIN_CALL* SetInputName)(BePluginHostBlock* block, int32_t index, const wchar_t* text);
  void(BE_PLUGIN_CALL* SetInputHint)(BePluginHostBlock* block, int32_t index, const wchar_t* text);
  void(BE_PLUGIN_CALL* SetInputType)(BePluginHostBlock* block, int32_t index, int32_t type);
  void(BE_PLUGIN_CALL* DisconnectInput)(BePluginHostBlock* block, int32_t index);
  uint8_t(BE_PLUGIN_CALL* IsInputConnected)(BePluginHostBlock* block, int32_t index);
  uint8_t(BE_PLUGIN_CALL* GetInputBit)(BePluginHostBlock* block, int32_t index);
  int8_t(BE_PLUGIN_CALL* GetInputChar)(BePluginHostBlock* block, int32_t index);
  int16_t(BE_PLUGIN_CALL* GetInputShort)(BePluginHostBlock* block, int32_t index);
  int32_t(BE_PLUGIN_CALL* GetInputInt)(BePluginHostBlock* block, int32_t index);
  float(BE_PLUGIN_CALL* GetInputFloat)(BePluginHostBlock* block, int32_t index);
  double(BE_PLUGIN_CALL* GetInputDouble)(BePluginHostBlock* block, int32_t index);
  void(BE_PLUGIN_CALL* SetOutputCount)(BePluginHostBlock* block, int32_t count);
  void(BE_PLUGIN_CALL* SetOutputName)(BePluginHostBlock* block, int32_t index, const wchar_t* text);
  void(BE_PLUGIN_CALL* SetOutputHint)(BePluginHostBlock* block, int32_t index, const wchar_t* text);
  void(BE_PLUGIN_CALL* SetOutputType)(BePluginHostBlock* block, int32_t index, int32_t type);
  void(BE_PLUGIN_CALL* DisconnectOutput)(BePluginHostBlock* block, int32_t index);
  void(BE_PLUGIN_CALL* SetOutputBit)(BePluginHostBlock* block, int32_t index, uint8_t value);
  void(BE_PLUGIN_CALL* SetOutputChar)(BePluginHostBlock* block, int32_t index, int8_t value);
  void(BE_PLUGIN_CALL* SetOutputShort)(BePluginHostBlock* block, int32_t index, int16_t value);
  void(BE_PLUGIN_CALL* SetOutputInt)(BePluginHostBlock* block, int32_t index, int32_t value);
  void(BE_PLUGIN_CALL* SetOutputFloat)(BePluginHostBlock* block, int32_t index, float value);
  void(BE_PLUGIN_CALL* SetOutputDouble)(BePluginHostBlock* block, int32_t index, double value);
  int32_t(BE_PLUGIN_CALL* WriteStream)(BePluginStream* stream, const void* data, int32_t size);
  int32_t(BE_PLUGIN_CALL* ReadStream)(BePluginStream* stream, void* buffer, int32_t size);
  /* Valid only during "InitPlugin" and "Init": adds a kind to the DLL and
     answers its new kind count; 0 (nothing added) at any other time. */
  int32_t(BE_PLUGIN_CALL* RegisterBlock)(BePluginCreator creator, const wchar_t* name);
} BeHostCallbacks;

/* The nine exports, by these names. The results of "InitPlugin", "Init",
   "InitBlock" and "DoneBlock" are ignored. */
typedef int32_t(BE_PLUGIN_CALL* BePluginInitPluginFn)(const BeHostCallbacks* host);
typedef int32_t(BE_PLUGIN_CALL* BePluginInitFn)(void);
typedef void(BE_PLUGIN_CALL* BePluginDestroyBlockFn)(BePluginHandle handle);
typedef int32_t(BE_PLUGIN_CALL* BePluginInitBlockFn)(BePluginHandle handle);
typedef void(BE_PLUGIN_CALL* BePluginTickBlockFn)(BePluginHandle handle, float dt);
typedef int32_t(BE_PLUGIN_CALL* BePluginDoneBlockFn)(BePluginHandle handle);
/* Nonzero: something changed. */
typedef uint8_t(BE_PLUGIN_CALL* BePluginBlockPropertyDlgFn)(BePluginHandle handle);
typedef void(BE_PLUGIN_CALL* BePluginSaveBlockFn)(BePluginHandle handle, BePluginStream* stream);
typedef void(BE_PLUGIN_CALL* BePluginLoadBlockFn)(BePluginHandle handle, BePluginStream* stream);

#ifdef __cplusplus
}
#endif

#endif /* VELK_PLUGIN_API_H */
