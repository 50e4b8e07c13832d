// Frame cap schedule and the frames-per-second figure, on a clock the test sets by hand.
#include <gtest/gtest.h>

#include "app/fps_counter.h"
#include "app/frame_pacer.h"

namespace {

constexpr int64_t kMs = 1000000; // nanoseconds

TEST(FramePacer, NoCapNeverWaits) {
    FramePacer pacer;
    framePacerInit(&pacer, 0);
    EXPECT_EQ(framePacerDelay(&pacer, 0), 0);
    EXPECT_EQ(framePacerDelay(&pacer, 1), 0);
}

TEST(FramePacer, FastFramesWaitForTheirSlot) {
    FramePacer pacer;
    framePacerInit(&pacer, 50);                              // 20 ms apart
    EXPECT_EQ(framePacerDelay(&pacer, 100 * kMs), 0);        // the first starts at once
    EXPECT_EQ(framePacerDelay(&pacer, 105 * kMs), 15 * kMs); // slot at 120
    EXPECT_EQ(framePacerDelay(&pacer, 121 * kMs), 19 * kMs); // slot at 140
    EXPECT_EQ(framePacerDelay(&pacer, 159 * kMs), 1 * kMs);  // no vsync: even 1 ms early waits
}

TEST(FramePacer, LateFrameStartsANewScheduleWithoutABurst) {
    FramePacer pacer;
    framePacerInit(&pacer, 50);
    framePacerDelay(&pacer, 0);                      // slot 0, next at 20
    EXPECT_EQ(framePacerDelay(&pacer, 75 * kMs), 0); // late: starts at 75, next at 95
    EXPECT_EQ(framePacerDelay(&pacer, 76 * kMs), 19 * kMs);
}

TEST(FramePacer, UnderVsyncTheSwapTimesFramesWhateverTheRefreshDrift) {
    // Back from each swap 0.1 ms after a refresh a little faster, then slower, than the 60 Hz
    // cap: no frame may wait, for a wait growing frame by frame would make one miss its refresh.
    for (const int64_t refreshNs : {int64_t{16650000}, int64_t{16683000}}) {
        FramePacer pacer;
        framePacerInit(&pacer, 60, true);
        for (int64_t frame = 0; frame < 10000; frame++) {
            ASSERT_EQ(framePacerDelay(&pacer, frame * refreshNs + kMs / 10), 0) << frame;
        }
        // A frame clearly early (vsync not really holding the rate) still waits its turn.
        const int64_t lastStart = 9999 * refreshNs + kMs / 10;
        EXPECT_EQ(framePacerDelay(&pacer, lastStart + 2 * kMs), 16666666 - 2 * kMs);
    }
}

TEST(FpsCounter, ReportsFramesOverTheFirstFullSecond) {
    FpsCounter counter;
    char text[32];
    fpsCounterFormat(counter, text, sizeof text);
    EXPECT_STREQ(text, "-- fps");
    EXPECT_FALSE(fpsCounterTick(&counter, 0));  // starts the count
    for (int frame = 1; frame <= 22; frame++) { // 45 ms apart: the 22nd lands at 0.99 s
        EXPECT_FALSE(fpsCounterTick(&counter, frame * 45 * kMs));
    }
    // The 23rd frame after the start lands at 1.15 s: 23 frames over 1.15 s.
    EXPECT_TRUE(fpsCounterTick(&counter, 1150 * kMs));
    fpsCounterFormat(counter, text, sizeof text);
    EXPECT_STREQ(text, "20.0 fps");
}

} // namespace
