// SPDX-License-Identifier: MIT
// Which frames are shown one by one: Fast frames (the loop's own pace), never Slow ones.
#include <gtest/gtest.h>

#include "gamefixture.h"

namespace pelorix::testing {
namespace {

TEST(FramePace, OnlyFastFramesAreShownOneByOne) {
    struct Case {
        int nwait4;
        bool finished;
        int shownPerFrame;
    };
    for (const Case c : {Case{0, false, 1}, Case{1, false, 0}, Case{0, true, 1}, Case{1, true, 0}}) {
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
        EXPECT_EQ(g.fake.framesShown - before, 10 * c.shownPerFrame) << "nwait4 " << c.nwait4 << " finished " << c.finished;
    }
}

}  // namespace
}  // namespace pelorix::testing
