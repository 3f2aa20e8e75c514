#include "exec/ProcessRunner.h"

#include "RunnerPolling.h"
#include "TempBatchFile.h"
#include "common/Diag.h"
#include "exec/StartErrorBox.h"
#include "support/TestPrograms.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetStartErrorPresenter([this](const std::string& text) { boxes.push_back(text); });
    }
    void TearDown() override { SetStartErrorPresenter(nullptr); }

    DiagCapture diag;
    std::vector<std::string> boxes;
};

std::string SignedCode(DWORD code)
{
    char text[32];
    snprintf(text, sizeof(text), "%d", static_cast<int>(code));
    return text;
}

TEST_F(RunnerTest, FreshRunnerHasNothingToPollOrKill)
{
    ProcessRunner runner;
    std::string out = "stale";
    EXPECT_FALSE(runner.ReadOutput(out));
    EXPECT_EQ("", out);
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_FALSE(runner.WriteInput("x"));
    runner.Terminate();
    EXPECT_EQ(0u, runner.GetExitCode());
    EXPECT_FALSE(runner.HasOpenHandles());
    EXPECT_EQ("", diag.Text());
}

TEST_F(RunnerTest, CmdEchoIsTracedReadAndEndsWithCodeZero)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start("cmd /c echo hello"));
    DWORD pid = GetProcessId(runner.ProcessHandle());
    EXPECT_EQ("\n=== Starting Command (Non-Blocking) ===\nCommand: cmd /c echo hello\n\n"
              "Process started successfully (PID: " + std::to_string(pid) + ")\n"
              "--- Output will be polled via timer ---\n",
              diag.Text());

    DrainedOutput output = DrainOutput(runner);
    EXPECT_TRUE(output.ended);
    EXPECT_EQ("hello\r\n", output.text);
    ASSERT_TRUE(WaitUntilEnded(runner));
    EXPECT_EQ(0u, runner.GetExitCode());

    // Every call after the end reads the code again and says so.
    diag.Reset();
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_EQ("\nProcess exited with code: 0\n\nProcess exited with code: 0\n", diag.Text());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RunnerTest, CmdLoopOutputArrivesInOrder)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start("cmd /c for /L %i in (1,1,3) do @echo item %i"));
    DrainedOutput output = DrainOutput(runner);
    EXPECT_TRUE(output.ended);
    EXPECT_EQ("item 1\r\nitem 2\r\nitem 3\r\n", output.text);
}

TEST_F(RunnerTest, ExitCodesAreStoredAndTracedAsSignedNumbers)
{
    for (DWORD code : {0ul, 7ul, 255ul, 0xC0000005ul}) {
        ProcessRunner runner;
        ASSERT_TRUE(runner.Start(QuotedTestChild() + " exit " + std::to_string(code)));
        ASSERT_TRUE(WaitUntilEnded(runner));
        EXPECT_EQ(code, runner.GetExitCode());
        EXPECT_NE(std::string::npos, diag.Text().find("\nProcess exited with code: " + SignedCode(code) + "\n"))
            << diag.Text();
    }
}

TEST_F(RunnerTest, OutputAndErrorShareOnePipeAndNulBytesArePassedOn)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " out 41004200 err 00 out 43"));
    DrainedOutput output = DrainOutput(runner);
    EXPECT_TRUE(output.ended);
    EXPECT_EQ(std::string("A\0B\0\0C", 6), output.text);
}

TEST_F(RunnerTest, LargeOutputComesInChunksOfAtMost4095Bytes)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " bytes 10000"));
    DrainedOutput output = DrainOutput(runner);
    EXPECT_TRUE(output.ended);
    ASSERT_EQ(10000u, output.text.size());
    for (size_t i = 0; i < output.text.size(); ++i)
        ASSERT_EQ('A' + static_cast<int>(i % 26), output.text[i]) << "at byte " << i;
    EXPECT_GE(output.chunks.size(), 3u);
    for (const std::string& chunk : output.chunks)
        EXPECT_LE(chunk.size(), 4095u);
}

TEST_F(RunnerTest, ReadingWithNothingWaitingGivesAnEmptyString)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " sleep 3000"));
    std::string out = "stale";
    EXPECT_TRUE(runner.ReadOutput(out));
    EXPECT_EQ("", out);
    EXPECT_TRUE(runner.IsRunning());
    runner.Terminate();
}

TEST_F(RunnerTest, InputReachesTheChildLineByLine)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " echo 2"));
    ASSERT_TRUE(runner.HasInputPipe());
    EXPECT_FALSE(runner.WriteInput(""));
    EXPECT_FALSE(runner.WriteInput(nullptr));
    diag.Reset();
    EXPECT_TRUE(runner.WriteInput("first\r\n"));
    EXPECT_TRUE(runner.WriteInput("second\n"));
    EXPECT_EQ("Writing to stdin: first\r\n\nWriting to stdin: second\n\n", diag.Text());

    DrainedOutput output = DrainOutput(runner);
    EXPECT_TRUE(output.ended);
    EXPECT_EQ("echo:first\r\necho:second\r\n", output.text);
    ASSERT_TRUE(WaitUntilEnded(runner));
    EXPECT_FALSE(runner.WriteInput("too late\n"));
}

struct Typing {
    ProcessRunner* runner;
    int accepted = 0;
};

DWORD WINAPI TypeThreeThousandLines(void* context)
{
    Typing& typing = *static_cast<Typing*>(context);
    char line[32];
    for (int i = 0; i < 3000; ++i) {
        snprintf(line, sizeof line, "line %04d\n", i);
        typing.accepted += typing.runner->WriteInput(line) ? 1 : 0;
    }
    return 0;
}

// A child busy with something else does not read: typing must not block
// the window, and every byte must still arrive, in order, once it reads.
TEST_F(RunnerTest, InputTheChildDoesNotReadYetWaitsWithoutBlocking)
{
    ProcessRunner runner;
    // The child reads nothing for three seconds: long enough for the typing
    // below to end first even on a loaded machine, which the test relies on.
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " sleep 3000 echo 0"));
    std::string expected;
    Typing typing{ &runner };
    // Far more than a pipe holds, on a thread of its own so that a blocking
    // write fails the test instead of hanging it.
    HANDLE writer = CreateThread(nullptr, 0, TypeThreeThousandLines, &typing, 0, nullptr);
    ASSERT_NE(nullptr, writer);
    const bool finished = WaitForSingleObject(writer, 5000) == WAIT_OBJECT_0;
    ASSERT_TRUE(finished) << "WriteInput blocked on a full pipe";
    CloseHandle(writer);
    EXPECT_EQ(3000, typing.accepted);
    EXPECT_TRUE(runner.HasPendingInput());
    for (int i = 0; i < 3000; ++i) {
        char line[32];
        snprintf(line, sizeof line, "echo:line %04d\r\n", i);
        expected += line;
    }

    std::string output, chunk;
    const DWORD deadline = GetTickCount() + 10000;
    while (runner.HasPendingInput() && GetTickCount() < deadline) {
        EXPECT_TRUE(runner.FlushInput());
        if (runner.ReadOutput(chunk))
            output += chunk;
        Sleep(2);
    }
    EXPECT_FALSE(runner.HasPendingInput());
    runner.CloseInput();
    output += DrainOutput(runner).text;
    EXPECT_EQ(expected.size(), output.size());
    EXPECT_TRUE(output == expected) << "input was lost or reordered";
}

TEST_F(RunnerTest, ClosedInputGivesTheChildEndOfInput)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " echo 0 exit 3"));
    EXPECT_TRUE(runner.WriteInput("only line\n"));
    runner.CloseInput();
    EXPECT_FALSE(runner.HasInputPipe());
    EXPECT_FALSE(runner.WriteInput("after close\n"));
    DrainedOutput output = DrainOutput(runner);
    EXPECT_TRUE(output.ended);
    EXPECT_EQ("echo:only line\r\n", output.text);
    ASSERT_TRUE(WaitUntilEnded(runner));
    EXPECT_EQ(3u, runner.GetExitCode());
}

TEST_F(RunnerTest, BatchScriptReadsTypedInput)
{
    TempBatchFile script("@echo off\r\nset /p ANSWER=Name? \r\necho got [%ANSWER%]\r\n");
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(script.Command()));
    ASSERT_NE(std::string::npos, ReadUntil(runner, "Name?").find("Name?"));
    EXPECT_TRUE(runner.WriteInput("Ada\r\n"));
    DrainedOutput output = DrainOutput(runner);
    EXPECT_TRUE(output.ended);
    EXPECT_NE(std::string::npos, output.text.find("got [Ada]")) << output.text;
}

TEST_F(RunnerTest, MissingProgramShowsTheFileNotFoundBoxAndKeepsNoHandle)
{
    const std::string expected =
        "Failed to execute command\nError 2: The system cannot find the file specified.\n\n"
        "The command may not exist or is not in your PATH.";
    ProcessRunner runner;
    // The runner only reports the failure; the layer above it shows the box.
    EXPECT_FALSE(runner.Start("tavrel-no-such-program-4711.exe --flag"));
    EXPECT_TRUE(runner.ChildCreationFailed());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(StartReportingFailure(runner, "tavrel-no-such-program-4711.exe --flag"));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(expected, boxes[0]);
    EXPECT_EQ(expected, runner.LastErrorText());
    EXPECT_NE(std::string::npos, diag.Text().find("ERROR: " + expected + "\n"));
    EXPECT_FALSE(runner.HasOpenHandles());
    std::string out;
    EXPECT_FALSE(runner.ReadOutput(out));
    EXPECT_FALSE(runner.IsRunning());
}

TEST_F(RunnerTest, TerminateEndsARunningChildWithCodeOne)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " sleep 30000"));
    diag.Reset();
    runner.Terminate();
    EXPECT_EQ(1u, runner.GetExitCode());
    EXPECT_EQ("\n*** Terminating process ***\nProcess terminated with code: 1\n", diag.Text());
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_TRUE(DrainOutput(runner).ended);
}

TEST_F(RunnerTest, TerminateAfterTheEndKeepsTheChildsOwnCode)
{
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(QuotedTestChild() + " exit 5"));
    ASSERT_TRUE(WaitUntilEnded(runner));
    runner.Terminate();
    EXPECT_EQ(5u, runner.GetExitCode());
}

TEST_F(RunnerTest, EnvironmentReferencesAreExpandedAndUnknownOnesKept)
{
    SetEnvironmentVariableA("TAVREL_RUNNER_WORDS", "two words");
    SetEnvironmentVariableA("TAVREL_RUNNER_UNSET", nullptr);
    const std::string command = QuotedTestChild() + " args %TAVREL_RUNNER_WORDS% %TAVREL_RUNNER_UNSET%x";
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(command));
    DrainedOutput output = DrainOutput(runner);
    SetEnvironmentVariableA("TAVREL_RUNNER_WORDS", nullptr);
    EXPECT_EQ("arg1=3:two\r\narg2=5:words\r\narg3=22:%TAVREL_RUNNER_UNSET%x\r\nargs=3\r\n", output.text);
    // The trace shows the command as given.
    EXPECT_NE(std::string::npos, diag.Text().find("Command: " + command + "\n\n"));
}

// The system's limit, 32,767 characters with the terminator, counted in
// characters: a line of two-byte characters runs whole up to it.
TEST_F(RunnerTest, CommandLineUpToTheSystemsLimitRunsWhole)
{
    const std::string head = QuotedTestChild() + " args ";
    // é: two bytes where this program's text is UTF-8, one in the child's
    // code page.
    const std::string accented = GetACP() == CP_UTF8 ? "\xC3\xA9" : "\xE9";
    std::string last;
    for (size_t i = head.size(); i < 32766; ++i)
        last += accented;
    ProcessRunner runner;
    ASSERT_TRUE(runner.Start(head + last)) << runner.LastErrorText();
    DrainedOutput output = DrainOutput(runner);
    const size_t characters = 32766 - head.size();
    EXPECT_EQ("arg1=" + std::to_string(characters) + ":" + std::string(characters, '\xE9') + "\r\nargs=1\r\n",
              output.text);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RunnerTest, LongerCommandLineIsRefusedNotCut)
{
    const std::string head = QuotedTestChild() + " args ";
    ProcessRunner runner;
    EXPECT_FALSE(StartReportingFailure(runner, head + std::string(32767 - head.size(), 'x')));
    const std::string expected =
        "Failed to execute command\n"
        "The command line is too long (32767 characters after expansion; the limit is 32766).";
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(expected, boxes[0]);
    EXPECT_NE(std::string::npos, diag.Text().find("ERROR: " + expected + "\n"));
    EXPECT_FALSE(runner.HasOpenHandles());
    EXPECT_EQ(0u, runner.GetExitCode());
}

TEST_F(RunnerTest, CommandLineTooLongOnlyAfterExpansionIsRefused)
{
    SetEnvironmentVariableA("TAVREL_RUNNER_LONG", std::string(17000, 'y').c_str());
    ProcessRunner runner;
    EXPECT_FALSE(StartReportingFailure(runner, "cmd /c echo %TAVREL_RUNNER_LONG% %TAVREL_RUNNER_LONG%"));
    SetEnvironmentVariableA("TAVREL_RUNNER_LONG", nullptr);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Failed to execute command\n"
              "The command line is too long (34013 characters after expansion; the limit is 32766).",
              boxes[0]);
    EXPECT_FALSE(runner.HasOpenHandles());
}

// Past what the system can expand at all (32K characters), the reason is
// still the length, not a system error.
TEST_F(RunnerTest, CommandLineBeyondWhatTheSystemExpandsIsRefusedAsTooLong)
{
    ProcessRunner runner;
    EXPECT_FALSE(StartReportingFailure(runner, "cmd /c echo " + std::string(40000, 'z')));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Failed to execute command\n"
              "The command line is too long (40012 characters after expansion; the limit is 32766).",
              boxes[0]);
    EXPECT_FALSE(runner.HasOpenHandles());
}

TEST(DescribeErrorTest, KnownCodesHaveTheirOwnTexts)
{
    const std::pair<DWORD, const char*> rows[] = {
        {2, "Error 2: The system cannot find the file specified.\n\nThe command may not exist or is not in your PATH."},
        {3, "Error 3: The system cannot find the path specified."},
        {5, "Error 5: Access is denied.\n\nYou may need administrator privileges to run this command."},
        {8, "Error 8: Not enough memory to execute command."},
        {14, "Error 14: Not enough memory to execute command."},
        {11, "Error 11: The program is not a valid Win32 application."},
        {87, "Error 87: Invalid parameter in command line."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, ProcessRunner::DescribeError(row.first));
}

TEST(DescribeErrorTest, OtherCodesUseTheSystemTextOrSayUnknown)
{
    char system[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  ERROR_INVALID_HANDLE, 0x0400, system, sizeof(system), nullptr);
    ASSERT_GT(length, 0u);
    EXPECT_EQ("Error 6: " + std::string(system, length), ProcessRunner::DescribeError(ERROR_INVALID_HANDLE));

    // Codes with bit 29 set belong to applications: the system has no text.
    EXPECT_EQ("Error 536875572: Unknown error occurred.", ProcessRunner::DescribeError(0x20001234));
    EXPECT_EQ("Error -536866252: Unknown error occurred.", ProcessRunner::DescribeError(0xE0001234));
}

}  // namespace
