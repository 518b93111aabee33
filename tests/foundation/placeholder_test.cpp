#include "foundation/stream.h"
#include "support/test_support.h"
TEST(MemoryStreamPlaceholder, StartsEmpty) { CMemoryStream s; EXPECT_EQ(0, s.GetSize()); }
