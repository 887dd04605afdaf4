#include <gtest/gtest.h>
#include "platform/Text.h"
TEST(Text, Trim) { EXPECT_EQ(orvane::text::TrimWhite(" \ta\v\f"), "a"); }
