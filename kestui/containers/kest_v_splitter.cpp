#include "kestui/containers/kest_v_splitter.h"

CKestVSplitter::CKestVSplitter(CKestContainer* container, uint32_t position)
    : CKestSplitter(false, container, position) {}
