// The console's taskbar button through a stand-in for the system's taskbar:
// what a user sees during a run and after it, in front or not.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "exec/RunEndSignal.h"

namespace {

class RecordingButton : public TaskbarButton {
public:
    RecordingButton(std::vector<std::string>& log, const bool& inFront) : m_log(log), m_inFront(inFront) {}
    void ShowProgress(TaskbarProgress progress) override
    {
        const char* names[] = {"none", "busy", "error"};
        m_log.push_back(names[static_cast<int>(progress)]);
    }
    void Flash(bool on) override { m_log.push_back(on ? "flash" : "stop flashing"); }
    bool InFront() override { return m_inFront; }

private:
    std::vector<std::string>& m_log;
    const bool& m_inFront;
};

using Steps = std::vector<std::string>;

}  // namespace

TEST(RunEndSignal, BusyWhileRunningThenCallsTheUserBackOnlyWhenTheyLookedAway)
{
    struct Case {
        bool inFrontAtEnd;
        int exitCode;
        bool activatedAfter;
        Steps expected;
    };
    const std::vector<Case> cases = {
        // Watched to the end: nothing calls for attention, failed or not.
        {true, 0, false, {"busy", "none", "closing"}},
        {true, 3, false, {"busy", "none", "closing"}},
        // Out of sight: flashing until the user comes back.
        {false, 0, true, {"busy", "none", "flash", "stop flashing", "closing"}},
        // A failure is red until then too.
        {false, 3, true, {"busy", "error", "flash", "none", "stop flashing", "closing"}},
        // Closed without being activated again: the button is left as usual.
        {false, -1, false, {"busy", "error", "flash", "closing", "none", "stop flashing"}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        Steps log;
        bool inFront = true;
        {
            RunEndSignal signal(std::make_unique<RecordingButton>(log, inFront));
            signal.RunStarted();
            signal.Activated();  // the console comes up: nothing to clear yet
            inFront = c.inFrontAtEnd;
            signal.RunEnded(c.exitCode);
            if (c.activatedAfter) {
                inFront = true;
                signal.Activated();
                signal.Activated();
            }
            log.push_back("closing");
        }
        EXPECT_EQ(log, c.expected) << "case " << i;
    }
}
