// A splitter of the Kest framework that resizes a left or right panel.
#pragma once

#include <cstdint>

#include "kestui/containers/kest_container.h"
#include "kestui/containers/kest_splitter.h"

// A vertical bar (6 x 100) between a left or right panel and the rest.
class CKestVSplitter : public CKestSplitter {
public:
  CKestVSplitter(CKestContainer* container, uint32_t position);
};

