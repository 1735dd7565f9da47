// SPDX-License-Identifier: MIT
// Which frames are shown one by one: every Slow frame, and the last Fast frame of each refresh.
#include <gtest/gtest.h>

#include "gamefixture.h"

namespace pelorix::testing {
namespace {

TEST(FramePace, SlowFramesAreShownEachAndFastOnesOnceARefresh) {
    struct Case {
        int nwait4;
        bool finished;
        int shown;  // of ten frames
    };
    for (const Case c : {Case{0, false, 2}, Case{1, false, 10}, Case{0, true, 2}, Case{1, true, 10}}) {
        Game g;
        g.buildtitle(4, 4, 1);
        g.game.loop.nwait4 = c.nwait4;
        g.game.loop.puzzlestate = c.finished ? 4 : 3;
        // Slow frames wait for the frame clock: let its ticks come.
        g.fake.setTimerEnabled(TimerId::Timer2, false);
        const int before = g.fake.framesShown;
        for (int i = 0; i < 10; ++i) {
            if (c.finished)
                g.game.finishedframe();
            else
                g.game.framestep();
        }
        EXPECT_EQ(g.fake.framesShown - before, c.shown) << "nwait4 " << c.nwait4 << " finished " << c.finished;
    }
}

}  // namespace
}  // namespace pelorix::testing
