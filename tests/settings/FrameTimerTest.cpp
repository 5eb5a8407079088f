// The frame timer on a hand-driven clock: when it fires, what DueIn promises, and its rate.
#include <gtest/gtest.h>

#include "core/UFrameTimer.h"
#include "platform/Clock.h"

namespace qj {
namespace {

class FrameTimerTest : public testing::Test {
 protected:
  void SetUp() override {
    SetClock(&Clock);
    Timer.Enabled = true;
    Timer.OnTimer = [this] { ++Ticks; };
  }
  void TearDown() override { SetClock(nullptr); }

  // Idle once and check that DueIn, asked just before, told the truth about it.
  bool IdleAgreeingWithDueIn() {
    const uint32_t due = Timer.DueIn();
    const int before = Ticks;
    const bool fired = Timer.Idle(true);
    EXPECT_EQ(fired, due == 0) << "DueIn said " << due << " at " << Clock.TickCount();
    EXPECT_EQ(Ticks, before + (fired ? 1 : 0));
    return fired;
  }

  TManualClock Clock{5000};
  TFrameTimer Timer;
  int Ticks = 0;
};

TEST_F(FrameTimerTest, FiresAtTheIntervalAndNotAMillisecondBefore) {
  for (const uint32_t interval : {1u, 2u, 8u, 16u, 33u, 1000u}) {
    Timer = TFrameTimer();
    Timer.Enabled = true;
    Timer.OnTimer = [this] { ++Ticks; };
    Timer.Interval = interval;
    ASSERT_TRUE(Timer.Idle(true)) << "the first idle pass fires at once";
    for (int round = 0; round < 3; ++round) {
      Clock.Advance(interval - 1);
      EXPECT_FALSE(Timer.Idle(true)) << interval << " ms, one short";
      Clock.Advance(1);
      EXPECT_TRUE(Timer.Idle(true)) << interval << " ms, on time";
      EXPECT_FALSE(Timer.Idle(true)) << interval << " ms, a second pass at the same moment";
    }
  }
}

TEST_F(FrameTimerTest, DueInAgreesWithIdleAtEveryMillisecond) {
  Timer.Interval = 10;
  EXPECT_EQ(Timer.DueIn(), 0u);  // never fired: due now
  int fired = 0;
  for (int ms = 0; ms < 95; ++ms) {
    // A few passes per millisecond, as a busy loop makes them.
    for (int pass = 0; pass < 3; ++pass) fired += IdleAgreeingWithDueIn() ? 1 : 0;
    Clock.Advance(1);
  }
  EXPECT_EQ(fired, 10);  // at 0, 10, ..., 90
}

TEST_F(FrameTimerTest, WaitingAsLongAsDueInSaysIsExactlyEnough) {
  Timer.Interval = 17;
  ASSERT_TRUE(Timer.Idle(true));
  for (const uint32_t late : {0u, 3u, 16u}) {
    Clock.Advance(late);
    const uint32_t due = Timer.DueIn();
    ASSERT_EQ(due, 17 - late);
    Clock.Advance(due - 1);
    EXPECT_EQ(Timer.DueIn(), 1u);
    EXPECT_FALSE(Timer.Idle(true));
    Clock.Advance(1);
    EXPECT_EQ(Timer.DueIn(), 0u);
    EXPECT_TRUE(Timer.Idle(true));
  }
  // Overdue by a little or a lot: due at once, and the next interval counts from this tick, not
  // from when it was due.
  for (const uint32_t late : {3u, 500u}) {
    Clock.Advance(17 + late);
    EXPECT_EQ(Timer.DueIn(), 0u);
    EXPECT_TRUE(Timer.Idle(true));
    EXPECT_EQ(Timer.DueIn(), 17u);
    Clock.Advance(16);
    EXPECT_FALSE(Timer.Idle(true)) << late;
    Clock.Advance(1);
    EXPECT_TRUE(Timer.Idle(true)) << late;
  }
}

TEST_F(FrameTimerTest, IntervalZeroFiresAtEveryPass) {
  Timer.Interval = 0;
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(Timer.DueIn(), 0u);
    EXPECT_TRUE(Timer.Idle(true));
  }
  EXPECT_EQ(Ticks, 5);
}

TEST_F(FrameTimerTest, NothingFiresWhileDisabledInactiveOrWithoutAHandler) {
  Timer.Interval = 10;
  Timer.Enabled = false;
  EXPECT_FALSE(Timer.Idle(true));
  Timer.Enabled = true;
  EXPECT_FALSE(Timer.Idle(false));  // another application has the focus
  const auto handler = Timer.OnTimer;
  Timer.OnTimer = nullptr;
  EXPECT_FALSE(Timer.Idle(true));
  EXPECT_EQ(Ticks, 0);
  Timer.OnTimer = handler;
  EXPECT_TRUE(Timer.Idle(true));
  // Coming back after a pause: due at once, and on time again after that.
  Clock.Advance(4);
  EXPECT_FALSE(Timer.Idle(false));
  Clock.Advance(300);
  EXPECT_TRUE(Timer.Idle(true));
  Clock.Advance(9);
  EXPECT_FALSE(Timer.Idle(true));
}

TEST_F(FrameTimerTest, KeepsTimeAcrossTheTickWrapping) {
  Clock.Set(0xFFFFFFFFu - 5);
  Timer.Interval = 10;
  ASSERT_TRUE(Timer.Idle(true));
  Clock.Advance(9);  // wraps past zero
  EXPECT_EQ(Timer.DueIn(), 1u);
  EXPECT_FALSE(Timer.Idle(true));
  Clock.Advance(1);
  EXPECT_EQ(Timer.DueIn(), 0u);
  EXPECT_TRUE(Timer.Idle(true));
}

TEST_F(FrameTimerTest, RateIsTheTicksOfTheLastWholeSecond) {
  Timer.Interval = 10;
  for (int ms = 0; ms <= 2500; ++ms) {
    Timer.Idle(true);
    Clock.Advance(1);
  }
  EXPECT_EQ(Timer.FrameRate(), 100);
  Timer.Interval = 25;
  for (int ms = 0; ms <= 2500; ++ms) {
    Timer.Idle(true);
    Clock.Advance(1);
  }
  EXPECT_EQ(Timer.FrameRate(), 40);
}

}  // namespace
}  // namespace qj
