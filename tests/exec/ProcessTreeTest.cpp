// The runner and the processes its child starts: who holds the output
// pipe open, what Terminate ends, and what a new start or the runner's
// end leaves running.

#include "exec/ProcessRunner.h"

#include "RunnerPolling.h"
#include "TempBatchFile.h"
#include "common/Diag.h"
#include "support/TestPrograms.h"

#include <gtest/gtest.h>

namespace {

class ProcessTreeTest : public ::testing::Test {
protected:
    // Whatever a test leaves behind must not outlive it.
    void TearDown() override
    {
        for (DWORD pid : leftovers)
            KillProcess(pid);
    }

    DiagCapture diag;
    std::vector<DWORD> leftovers;
};

TEST_F(ProcessTreeTest, OutputEndsOnlyWhenTheLastWriterHasClosedThePipe)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " spawn 30000 out 646f6e65"));
    std::string output = ReadUntil(runner, "done");
    DWORD grandchild = NumberAfter(output, "grandchild");
    ASSERT_NE(0u, grandchild) << output;
    leftovers.push_back(grandchild);
    ASSERT_TRUE(WaitUntilEnded(runner));

    // The child is gone but the grandchild still holds the write end.
    std::string chunk = "stale";
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(runner.ReadOutput(chunk)) << "poll " << i;
        EXPECT_EQ("", chunk);
        Sleep(10);
    }
    ASSERT_TRUE(ProcessAlive(grandchild));

    KillProcess(grandchild);
    EXPECT_TRUE(DrainOutput(runner).ended);
}

TEST_F(ProcessTreeTest, TerminateEndsEverythingACmdScriptStarted)
{
    TempBatchFile script("@" + QuotedTestChild() + " pid spawn 30000 sleep 30000\r\n");
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(script.Command()));
    std::string output = ReadUntil(runner, "grandchild=");
    output += ReadUntil(runner, "\n", 500);
    DWORD scriptChild = NumberAfter(output, "pid");
    DWORD grandchild = NumberAfter(output, "grandchild");
    ASSERT_NE(0u, scriptChild) << output;
    ASSERT_NE(0u, grandchild) << output;
    leftovers = {scriptChild, grandchild};

    runner.Terminate();
    EXPECT_EQ(1u, runner.GetExitCode());
    EXPECT_TRUE(WaitProcessGone(scriptChild));
    EXPECT_TRUE(WaitProcessGone(grandchild));
    EXPECT_TRUE(DrainOutput(runner).ended);
}

// Grouping the child for Terminate must not take from it the right to start
// processes outside any job.
TEST_F(ProcessTreeTest, ChildMayStartProcessesOutsideTheGroup)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " breakaway"));
    DrainedOutput output = DrainOutput(runner);
    EXPECT_EQ("breakaway=ok\r\n", output.text);
}

TEST_F(ProcessTreeTest, SecondStartReleasesTheFirstRunButLeavesItsChildRunning)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " pid sleep 30000"));
    DWORD first = NumberAfter(ReadUntil(runner, "\n"), "pid");
    ASSERT_NE(0u, first);
    leftovers.push_back(first);

    ASSERT_TRUE(runner.Start("cmd /c echo second"));
    DrainedOutput output = DrainOutput(runner);
    EXPECT_TRUE(output.ended);
    EXPECT_EQ("second\r\n", output.text);
    ASSERT_TRUE(WaitUntilEnded(runner));
    EXPECT_EQ(0u, runner.GetExitCode());
    EXPECT_TRUE(ProcessAlive(first));

    // Terminate now concerns the second run only.
    runner.Terminate();
    EXPECT_TRUE(ProcessAlive(first));
}

// As when the program itself is killed: the system closes the runner's
// handles, and the tree goes with them.
TEST_F(ProcessTreeTest, TreeAskedToEndWithTheRunnerEndsWhenItsHandlesClose)
{
    DWORD child = 0;
    DWORD grandchild = 0;
    {
        ProcessRunner runner;
        runner.SetEndTreeOnClose(true);
        ASSERT_TRUE(runner.Start(QuotedTestChild() + " spawn 30000 pid sleep 30000"));
        std::string output = ReadUntil(runner, "pid=");
        output += ReadUntil(runner, "\n", 500);
        child = NumberAfter(output, "pid");
        grandchild = NumberAfter(output, "grandchild");
        leftovers = {child, grandchild};
        ASSERT_NE(0u, child) << output;
        ASSERT_NE(0u, grandchild) << output;
        ASSERT_TRUE(ProcessAlive(child));
    }
    EXPECT_TRUE(WaitProcessGone(child));
    EXPECT_TRUE(WaitProcessGone(grandchild));
}

TEST_F(ProcessTreeTest, DestroyedRunnerLeavesItsChildRunning)
{
    DWORD child = 0;
    {
        ProcessRunner runner;
        ASSERT_TRUE(runner.Start(QuotedTestChild() + " pid sleep 30000"));
        child = NumberAfter(ReadUntil(runner, "\n"), "pid");
    }
    ASSERT_NE(0u, child);
    leftovers.push_back(child);
    Sleep(200);
    EXPECT_TRUE(ProcessAlive(child));
}

}  // namespace
