#include "kestui/containers/kest_h_splitter.h"

CKestHSplitter::CKestHSplitter(CKestContainer* container, uint32_t position)
    : CKestSplitter(true, container, position) {}
