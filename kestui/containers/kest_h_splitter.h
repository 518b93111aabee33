// A splitter of the Kest framework that resizes a top or bottom panel.
#pragma once

#include <cstdint>

#include "kestui/containers/kest_container.h"
#include "kestui/containers/kest_splitter.h"

// A horizontal bar (100 x 6) between a top or bottom panel and the rest.
class CKestHSplitter : public CKestSplitter {
public:
  CKestHSplitter(CKestContainer* container, uint32_t position);
};

