// The multiplying box mean against the dividing one, over every window size the cutter's blurs
// use and beyond, at the extremes of the sums a window of byte levels can hold.
#include <gtest/gtest.h>

#include "creation/UGreyMap.h"

namespace qj {
namespace {

TEST(BoxMean, MultiplyingAgreesWithDividingForEveryByteSum) {
  std::vector<uint32_t> sizes;
  for (uint32_t n = 1; n <= 500; ++n) sizes.push_back(n);
  for (uint32_t n : {1023u, 4096u, 16383u, 16384u, 100000u}) sizes.push_back(n);
  for (uint32_t n : sizes) {
    const TBoxMean mean(n);
    const uint32_t most = 255 * n, step = std::max(1u, most / 20000);
    for (uint32_t sum = 0; sum <= most; sum += step) ASSERT_EQ(mean(sum), BoxMean(sum, n)) << sum << " / " << n;
    for (uint32_t sum = most - std::min(most, 600u); sum <= most; ++sum)
      ASSERT_EQ(mean(sum), BoxMean(sum, n)) << sum << " / " << n;
  }
}

}  // namespace
}  // namespace qj
