// Frame timing: the mean of every interval, dt = 1.5 times it (times the speed), the first frame's
// double reading, and pauses left out.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

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

// Each row: the clock readings (the first frame takes two), the dt every frame gets, and the
// count of frames in the mean at the end, worked out by hand from the plain mean; and the frame
// before which the shell noted a gap (its window was hidden), if any.
struct IntervalRow {
    const char* what;
    std::vector<uint32_t> readings;
    std::vector<double> dts;
    int64_t countAfter;
    size_t gapBefore = SIZE_MAX;
};

const IntervalRow kIntervalRows[] = {
    // 16 ms frames, then 30 s stopped: that frame keeps the step, and the mean stays 0.0128.
    {"a pause",
     {1000, 1000, 1016, 1032, 1048, 31048, 31064},
     {0.0, 0.012, 0.016, 0.018, 0.018, 0.0192},
     5},
    // 2 frames a second from the start: only the first real interval, against a mean of 0, is
    // left out; from then on 0.5 s is never 8 times the mean.
    {"a steady slow machine",
     {500, 500, 1000, 1500, 2000, 2500, 3000},
     {0.0, 0.0, 0.375, 0.5, 0.5625, 0.6},
     5},
    // A slow frame at start, then stopped: the stop is no slowdown, for it is far longer.
    {"a pause after a slow frame",
     {1000, 1000, 1016, 1032, 1048, 1548, 4548, 4564},
     {0.0, 0.012, 0.016, 0.018, 0.018, 0.018, 0.0192},
     5},
    // Stopped right after the first frame: no step of seconds follows.
    {"a pause after the first frame", {500, 500, 3000, 3016, 3032}, {0.0, 0.0, 0.012, 0.016}, 3},
    // From 16 ms to 500 ms for good: only the first long interval is left out.
    {"a sudden lasting slowdown",
     {1000, 1000, 1016, 1032, 1048, 1548, 2048, 2548},
     {0.0, 0.012, 0.016, 0.018, 0.018, 0.1644, 0.262},
     6},
    // 25 days stopped wrap the 32-bit milliseconds into a negative interval.
    {"a pause longer than the clock's half range",
     {1000, 1000, 1016, 2147484664u, 2147484680u},
     {0.0, 0.012, 0.012, 0.016},
     3},
    // Hidden for 0.1 s, too short to look like a pause: the shell says it was one.
    {"a gap the shell noted", {1000, 1000, 1016, 1116, 1132}, {0.0, 0.012, 0.012, 0.016}, 3, 2},
    // Hidden for 1 s, then stopped for 1.5 s: the gap was no frame, so the stop is no slowdown.
    {"a pause right after a gap the shell noted",
     {1000, 1000, 1016, 1032, 1048, 2048, 3548, 3564},
     {0.0, 0.012, 0.016, 0.018, 0.018, 0.018, 0.0192},
     5,
     4},
};

TEST_F(FrameTiming, IntervalSequencesGiveTheMeanAndStep) {
    for (const IntervalRow& row : kIntervalRows) {
        frameTimingReset();
        readingsTaken = 0;
        scriptedReadings = row.readings.data();
        for (size_t frame = 0; frame < row.dts.size(); frame++) {
            if (frame == row.gapBefore) {
                frameTimingNoteGap();
            }
            EXPECT_NEAR(frameTimingNextDt(), row.dts[frame], 1e-12)
                << row.what << ", frame " << frame + 1;
        }
        EXPECT_EQ(readingsTaken, static_cast<int>(row.readings.size())) << row.what;
        EXPECT_EQ(frameCount, row.countAfter) << row.what;
    }
}

TEST_F(FrameTiming, CountKeepsTheMeanPastTwoToTheThirtyOneFrames) {
    // 560 frames a second for 44 days: a 32-bit count would be out of range here.
    frameCount = INT32_MAX;
    meanFrameTime = 0.016;
    lastClockMs = 1000;
    const uint32_t readings[] = {1016};
    scriptedReadings = readings;
    EXPECT_NEAR(frameTimingNextDt(), 1.5 * 0.016, 1e-12);
    EXPECT_EQ(frameCount, int64_t{1} << 31);
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
