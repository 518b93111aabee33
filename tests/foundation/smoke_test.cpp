#include "foundation/stream.h"
#include "support/test_support.h"
TEST(Smoke, Builds) { CMemoryStream s; EXPECT_EQ(0, s.GetSize()); }
