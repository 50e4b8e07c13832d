// Frame timing: the mean of every interval, dt = 1.5 times it (times the speed), the first frame's
// double reading.
#include <gtest/gtest.h>

#include "render/frame.h"
#include "render/frame_clock.h"
#include "sim/settings.h"

namespace {

// Readings handed out in order; the test says what each frame reads.
const uint32_t* scriptedReadings = nullptr;
int readingsTaken = 0;
uint32_t nextScriptedReading() {
    return scriptedReadings[readingsTaken++];
}

class FrameTiming : public ::testing::Test {
  protected:
    void SetUp() override {
        frameTimingReset();
        readingsTaken = 0;
        frameClockSetSource(nextScriptedReading);
    }
    void TearDown() override {
        frameClockSetSource(nullptr);
        frameTimingReset();
        simSettingsApply(SimSettings{});
    }
};

TEST_F(FrameTiming, IntervalsOfZeroTenAndTwentyMilliseconds) {
    // Frame 1 reads twice back to back (interval 0), frames 2 and 3 once each.
    const uint32_t readings[] = {5000, 5000, 5010, 5030};
    scriptedReadings = readings;
    EXPECT_EQ(frameTimingNextDt(), 0.0);
    EXPECT_EQ(readingsTaken, 2);
    EXPECT_NEAR(frameTimingNextDt(), 0.0075, 1e-15);
    EXPECT_NEAR(meanFrameTime, 0.005, 1e-15);
    EXPECT_NEAR(frameTimingNextDt(), 0.015, 1e-15);
    EXPECT_NEAR(meanFrameTime, 0.010, 1e-15);
    EXPECT_EQ(frameCount, 3);
    EXPECT_EQ(readingsTaken, 4);
}

TEST_F(FrameTiming, FirstFrameMeasuresItsTwoReadings) {
    const uint32_t readings[] = {700, 704};
    scriptedReadings = readings;
    EXPECT_NEAR(frameTimingNextDt(), 1.5 * 0.004, 1e-15);
    EXPECT_EQ(lastClockMs, 704u);
}

TEST_F(FrameTiming, ReadingsThatWrapAroundStillGiveTheTrueInterval) {
    const uint32_t readings[] = {4294967290u, 4294967290u, 10u};
    scriptedReadings = readings;
    frameTimingNextDt();
    // 16 ms across the wrap: frame intervals 0 and 0.016, mean 0.008.
    EXPECT_NEAR(frameTimingNextDt(), 1.5 * 0.008, 1e-15);
}

TEST_F(FrameTiming, SpeedScalesEachStepAsADoubleProduct) {
    for (double speed : {1.0, 0.3, 4.0}) {
        frameTimingReset();
        readingsTaken = 0;
        simSettingsApply(SimSettings{kBodyCount, speed, kMaxParticles});
        const uint32_t readings[] = {5000, 5000, 5010};
        scriptedReadings = readings;
        frameTimingNextDt();
        const double dt = frameTimingNextDt();
        // At speed 1 the step is 1.5 times the mean to the last bit.
        EXPECT_EQ(dt, speed * (1.5 * meanFrameTime)) << speed;
    }
}

TEST(FrameClock, MonotonicClockNeverReadsZeroNorRunsBackwards) {
    frameClockSetSource(nullptr);
    uint32_t previous = frameClockRead();
    EXPECT_NE(previous, 0u);
    for (int i = 0; i < 1000; i++) {
        const uint32_t now = frameClockRead();
        EXPECT_GE(now, previous);
        previous = now;
    }
}

} // namespace
