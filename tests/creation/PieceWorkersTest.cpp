// Pieces cut side by side: reports stay in order on the calling thread, errors come back.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "creation/UPieceWorkers.h"

namespace qj {
namespace {

TEST(PieceWorkers, ReportEveryPieceInOrderOnTheCallerBeforeItStarts) {
  for (unsigned threads : {1u, 2u, 4u}) {
    const size_t count = 200;
    std::vector<std::atomic<int>> state(count);  // 0 waiting, 1 reported, 2 cut
    std::vector<size_t> reports;
    const auto caller = std::this_thread::get_id();
    RunPieceWork(
        count,
        [&](size_t k) {
          EXPECT_EQ(std::this_thread::get_id(), caller);
          EXPECT_EQ(state[k].load(), 0);
          state[k] = 1;
          reports.push_back(k);
        },
        [&](size_t k) {
          EXPECT_EQ(state[k].load(), 1) << k;
          state[k] = 2;
        },
        threads);
    ASSERT_EQ(reports.size(), count);
    for (size_t k = 0; k < count; ++k) {
      EXPECT_EQ(reports[k], k);
      EXPECT_EQ(state[k].load(), 2);
    }
  }
}

TEST(PieceWorkers, AFailingPieceOrReportStopsTheWorkAndIsThrownHere) {
  std::atomic<int> cut{0};
  EXPECT_THROW(RunPieceWork(
                   1000, [](size_t) {},
                   [&](size_t k) {
                     ++cut;
                     if (k == 10) throw std::runtime_error("out of memory");
                   },
                   3),
               std::runtime_error);
  EXPECT_LT(cut.load(), 1000);
  EXPECT_THROW(RunPieceWork(
                   50, [](size_t k) { if (k == 5) throw std::logic_error("report"); }, [](size_t) {}, 2),
               std::logic_error);
}

}  // namespace
}  // namespace qj
