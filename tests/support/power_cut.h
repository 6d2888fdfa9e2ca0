// Power cuts at every step of a flash-memory save. Each run prepares the old contents,
// then saves in a child process (a death test) that loses its power at step 1, 2, ...
// (console/fault.h), until a run gets through; what the next start finds must be the old
// contents or the new ones, whole, and once the new ones, always the new ones.
#pragma once

#include <console/fault.h>
#include <console/nand.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support {

enum class FoundAfterPowerCut { Old, New, Neither };

inline void ExpectEveryPowerCutLeavesTheOldOrTheNew(
    const std::function<void()>& prepare, const std::function<void()>& save,
    const std::function<FoundAfterPowerCut(int step)>& restart) {
    constexpr int kSurvivedExitCode = 3;
    constexpr int kMostSteps = 50;
    bool survived = false;
    bool sawOld = false;
    bool sawNew = false;
    for (int step = 1; !survived && step < kMostSteps; ++step) {
        prepare();
        const auto outcome = [&](int status) {
            survived = WIFEXITED(status) && WEXITSTATUS(status) == kSurvivedExitCode;
            return survived ||
                   (WIFEXITED(status) && WEXITSTATUS(status) == NAND_POWER_CUT_EXIT_CODE);
        };
        EXPECT_EXIT(
            {
                FaultReset();
                FaultAddText(("nand-step:power-cut@" + std::to_string(step)).c_str());
                save();
                _exit(kSurvivedExitCode);
            },
            outcome, "")
            << "step " << step;
        const FoundAfterPowerCut found = restart(step);
        EXPECT_NE(found, FoundAfterPowerCut::Neither) << "step " << step;
        EXPECT_FALSE(sawNew && found == FoundAfterPowerCut::Old) << "step " << step;
        sawOld = sawOld || found == FoundAfterPowerCut::Old;
        sawNew = sawNew || found == FoundAfterPowerCut::New;
    }
    EXPECT_TRUE(survived);
    EXPECT_TRUE(sawOld && sawNew);
}

} // namespace test_support
