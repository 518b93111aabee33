// Counters of the live objects of the scheme model. Every constructor and
// destructor of a scheme object keeps them, so a test (or a debug check) can
// see that deleting a scheme freed everything it owned.
#pragma once

struct SchLiveCounts {
  int schemes = 0;
  int blocks = 0;
  int pins = 0;   // entries of the blocks' pin arrays
  int texts = 0;  // owned texts of blocks: instance name, model, options, table name
  int wires = 0;
  int junctions = 0;
  int buses = 0;
  int nets = 0;
};

// Program-wide counters.
extern SchLiveCounts g_schLiveCounts;
