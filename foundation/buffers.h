// Heap blocks. Every helper that returns text or a buffer returns a block the
// caller owns and releases with FreeBuffer. Arrays are a count beside a
// pointer grown with ReallocBuffer.
#pragma once

#include <climits>
#include <cstddef>

// The largest block the heap helpers give: counts, sizes and positions are
// int throughout, so a block must be addressable by an int offset. The limit
// is the same at both widths, so a size that is refused in the 32-bit
// program is refused in the 64-bit one too (there the heap might well give
// it).
constexpr size_t kFoundationMaxBlock = INT_MAX;

// size 0 frees the block and returns null; otherwise realloc (null allocates).
// On failure (or a size above kFoundationMaxBlock) the old block is left as
// it was and null is returned.
void* ReallocBuffer(void* block, size_t size);
// size 0 returns null; otherwise malloc (null above kFoundationMaxBlock).
void* AllocBuffer(size_t size);
void FreeBuffer(void* block);
// How many blocks AllocBuffer and ReallocBuffer could not give so far (memory
// ran out, or a failure scope refused them). A reader that must not keep
// half of what it read compares it before and after.
unsigned GetBufferFailureCount();
// Room for n wide characters and the terminator (2n + 2 bytes), not cleared.
wchar_t* AllocWideString(size_t n);
// Appends tail to text, which may move; see the .cpp for the null cases.
wchar_t* AppendString(wchar_t* text, const wchar_t* tail);
// A heap copy of text (null for null).
wchar_t* DupString(const wchar_t* text);
char* DupStringA(const char* text);
// Replaces the heap text a slot owns by a copy of text (null clears it). The
// copy is made first, so text may be the slot's own text.
void ReplaceString(wchar_t** slot, const wchar_t* text);
void ReplaceString(char** slot, const char* text);
