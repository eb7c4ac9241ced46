#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "services/Timer.h"

namespace {

// Enabling a running timer leaves its countdown alone; disabling and enabling starts afresh.
TEST(Timer, EnablingARunningTimerKeepsItsCountdownWhileDisablingStartsAfresh) {
  TTimer timer(2000, false, nullptr);
  EXPECT_FALSE(timer.Enabled());
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_TRUE(QTest::qWaitFor([&] { return timer.RemainingTime() < 1500; }));
  timer.SetEnabled(true);
  EXPECT_LT(timer.RemainingTime(), 1500);
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Enabled());
  timer.SetEnabled(true);
  EXPECT_GT(timer.RemainingTime(), 1500);
}

TEST(Timer, TicksWhileEnabled) {
  TTimer timer(10, true, nullptr);
  QSignalSpy ticks(&timer, &TTimer::Timer);
  EXPECT_TRUE(ticks.wait(5000));
  EXPECT_EQ(timer.Interval(), 10);
}

}  // namespace
