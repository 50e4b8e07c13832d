#include <gtest/gtest.h>
TEST(P, P) { EXPECT_TRUE(true); }
