// CBufferFailureScope: while it lives, the heap helpers (AllocBuffer,
// ReallocBuffer and every helper built on them) grant `successes` more
// allocations and then refuse every further one, as when memory runs out.
// Tests use it to walk the failure paths; scopes nest, the inner one wins.
#pragma once

class CBufferFailureScope {
public:
  explicit CBufferFailureScope(int successes);
  ~CBufferFailureScope();
  CBufferFailureScope(const CBufferFailureScope&) = delete;
  CBufferFailureScope& operator=(const CBufferFailureScope&) = delete;

  // Allocations refused so far in this scope.
  int GetRefusals() const;

private:
  int previousLeft_;
  int previousRefusals_;
};

// Answers whether the heap helpers may allocate now (counts the grant or the
// refusal of the innermost scope; always true without one).
bool BufferAllocationAllowed();
