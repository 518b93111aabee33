// Counters of the live objects of the script machine. Every constructor and
// destructor keeps them, so a test can see that a reset freed everything.
#pragma once

struct VmLiveCounts {
  int texts = 0;      // shared text buffers of string values
  int arrays = 0;
  int objects = 0;
  int variables = 0;  // globals, locals and object properties
  int functions = 0;
  int frames = 0;
};

// Program-wide counters.
extern VmLiveCounts g_vmLiveCounts;
