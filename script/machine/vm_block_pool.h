// A list of freed blocks of one size, kept for reuse: variables and frames
// come and go with every call of a script function.
#pragma once

#include <cstddef>

#include "foundation/buffers.h"

template <int kMaxBlocks>
class VmBlockPool {
public:
  void* Take(size_t size) {
    if (free_) {
      Block* b = free_;
      free_ = b->next;
      --count_;
      return b;
    }
    return AllocBuffer(size);
  }
  void Give(void* block) {
    if (!block) return;
    if (count_ >= kMaxBlocks) {
      FreeBuffer(block);
      return;
    }
    Block* b = static_cast<Block*>(block);
    b->next = free_;
    free_ = b;
    ++count_;
  }

private:
  struct Block {
    Block* next;
  };
  Block* free_ = nullptr;
  int count_ = 0;
};

// Program-wide pools (the machine runs on the one user-interface thread).
extern VmBlockPool<4096> g_vmVariablePool;
extern VmBlockPool<256> g_vmFramePool;
