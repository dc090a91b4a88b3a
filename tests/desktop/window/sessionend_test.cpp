// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/sessionend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvin {
namespace {

// Logging out must save what the listener would lose: the session manager's
// request runs the exit procedure, once, and lets the manager go on each time.
TEST(SessionEnd, TheSessionManagersCommitRequestRunsTheExitProcedureOnce)
{
    SessionEnd sessionEnd;
    std::vector<std::string> calls;
    sessionEnd.setHandler([&] { calls.push_back("exit"); });
    for (int request = 0; request < 2; ++request)
        sessionEnd.commitData([&] { calls.push_back("release"); });
    EXPECT_EQ(calls, (std::vector<std::string>{"release", "exit", "release"}));
}

}  // namespace
}  // namespace korvin
