// The random generator's sequence is what makes a stored puzzle cut the same way again.
#include <gtest/gtest.h>

#include <cmath>

#include "creation/URandom.h"

namespace qj {
namespace {

TEST(RandomGenerator, FollowsTheRecurrenceFromAKnownSeed) {
  Randomize(1);
  // seed 1 -> 134775814; high 32 bits of 134775814 * 1000 = 134775814000 >> 32 = 31
  EXPECT_EQ(Random(1000), 31);
  EXPECT_EQ(RandomSeed, 134775814u);
  // 134775814 * 134775813 + 1 mod 2^32 = 3698175007; * 100 >> 32 = 86
  EXPECT_EQ(Random(100), 86);
  EXPECT_EQ(RandomSeed, 3698175007u);
  Randomize(0);
  EXPECT_EQ(Random(10), 0);  // seed 1: 10 >> 32 = 0
  EXPECT_EQ(RandomSeed, 1u);
}

TEST(RandomGenerator, ZeroRangeGivesZeroAndStillAdvances) {
  Randomize(77);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(RandomSeed, 77u * 134775813u + 1u);
}

TEST(RandomGenerator, RandomFactorOfOneAdvancesOnce) {
  Randomize(5);
  EXPECT_EQ(RandomFactor(1.0), 1.0);
  EXPECT_EQ(RandomSeed, 5u * 134775813u + 1u);
}

TEST(RandomGenerator, RandomFactorStaysBelowTheSpreadInThousandths) {
  Randomize(9);
  for (int k = 0; k < 1000; ++k) {
    const double f = RandomFactor(1.5);
    ASSERT_GE(f, 1.0);
    ASSERT_LT(f, 1.5);
    ASSERT_NEAR(f * 1000, std::round(f * 1000), 1e-6);
  }
  Randomize(9);
  const uint32_t next = 9u * 134775813u + 1u;
  EXPECT_DOUBLE_EQ(RandomFactor(2.0), 1.0 + int32_t((uint64_t(next) * 1000) >> 32) / 1000.0);
}

TEST(RandomGenerator, ParityAndRandomSign) {
  EXPECT_EQ(ParitySign(0), -1.0);
  EXPECT_EQ(ParitySign(1), 1.0);
  EXPECT_EQ(ParitySign(-3), 1.0);
  EXPECT_EQ(ParitySign(4), -1.0);
  Randomize(123);
  int plus = 0;
  for (int k = 0; k < 2000; ++k) {
    const int s = RandomSign();
    ASSERT_TRUE(s == 1 || s == -1);
    plus += s == 1;
  }
  EXPECT_GT(plus, 900);
  EXPECT_LT(plus, 1100);
}

}  // namespace
}  // namespace qj
