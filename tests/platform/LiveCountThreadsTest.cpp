// The live-bitmap count stays exact while several threads make, copy, move and free bitmaps at
// once, as the cutter's helper threads do.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/Dib.h"

namespace qj {
namespace {

// Every way a bitmap comes into being and goes away, many times over.
void ChurnBitmaps(int rounds) {
  for (int k = 0; k < rounds; ++k) {
    TMyDib made(2, 2);
    TMyDib copied(made);
    TMyDib moved(std::move(copied));
    TMyDib empty;
    empty = moved;
  }
}

TEST(LiveCountThreads, BitmapsMadeAndFreedOnManyThreadsLeaveTheCountWhereItWas) {
  const size_t before = TMyDib::LiveCount();
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) threads.emplace_back(ChurnBitmaps, 20000);
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(TMyDib::LiveCount(), before);
}

TEST(LiveCountThreads, BitmapsAliveOnOtherThreadsAreCounted) {
  const size_t before = TMyDib::LiveCount();
  std::vector<std::vector<TMyDib>> kept(4);
  std::vector<std::thread> threads;
  for (std::vector<TMyDib>& list : kept)
    threads.emplace_back([&list] {
      for (int k = 0; k < 1000; ++k) list.emplace_back(1, 1);
    });
  for (std::thread& t : threads) t.join();
  size_t alive = 0;
  for (const std::vector<TMyDib>& list : kept) alive += list.size();
  EXPECT_EQ(TMyDib::LiveCount(), before + alive);
  kept.clear();
  EXPECT_EQ(TMyDib::LiveCount(), before);
}

}  // namespace
}  // namespace qj
