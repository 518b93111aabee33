// The host side of the plug-in contract: the table of host functions handed
// to every DLL, and the stream a DLL writes or reads its block data through.
#pragma once

#include "blocks/engine/plugin/plugin_api.h"

class CStream;

// The one table of the program, handed to every DLL's "InitPlugin".
extern const BeHostCallbacks kBeHostCallbacks;

// What a DLL's "SaveBlock" or "LoadBlock" gets as its stream: the block
// record's stream, open for writing or reading for the length of that call.
// Reads stop at limit (an end position of the stream; -1: the stream's end).
struct BePluginStream {
  BePluginStream(CStream* stream, bool writable, int limit);
  // Closes the stream: a DLL that kept the pointer gets nothing through it.
  ~BePluginStream();
  BePluginStream(const BePluginStream&) = delete;
  BePluginStream& operator=(const BePluginStream&) = delete;

  // Null for anything but an open plug-in stream.
  static BePluginStream* FromHandle(BePluginStream* stream);

  unsigned int signature;
  CStream* stream;
  bool writable;
  int limit;
};
