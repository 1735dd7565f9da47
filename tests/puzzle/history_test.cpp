// SPDX-License-Identifier: MIT
// The move history stack: zero where nothing is stored, growth without limit, clearing.
#include <gtest/gtest.h>

#include "puzzle/history.h"

namespace pelorix {
namespace {

TEST(History, ReadsZeroWhereNothingIsStoredAndGrowsWithoutLimit) {
    History h;
    EXPECT_EQ(h[0], 0);
    EXPECT_EQ(h[5], 0);
    h.set(0, 3);
    EXPECT_EQ(h[0], 0);
    for (int i = 1; i <= 250000; ++i) h.set(i, 1 + i % 4);
    EXPECT_EQ(h[250000], 1 + 250000 % 4);
    EXPECT_EQ(h[250001], 0);
    h.set(7, 0);
    EXPECT_EQ(h[7], 0);
    h.clear();
    EXPECT_EQ(h[3], 0);
}

}  // namespace
}  // namespace pelorix
