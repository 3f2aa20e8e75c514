// A form with a format error, in the real program: the error window shows
// the listing, the form itself never appears, and closing the window ends
// the program.

#include <gtest/gtest.h>

#include "e2e/Driver.h"
#include "e2e/E2eExpect.h"

namespace e2e {
namespace {

class ParseErrorWindow : public ::testing::Test {
protected:
    // Waits for the error window, checks that it is the only window shown,
    // reads its text and closes it; the program must then end.
    std::string ReadAndClose(const std::string& title)
    {
        HWND window = app.WaitForWindow(title);
        if (!window) {
            ADD_FAILURE() << "no window \"" << title << "\"\n" << app.Output();
            return std::string();
        }
        std::vector<WindowInfo> shown = app.Windows();
        EXPECT_EQ(shown.size(), 1u) << "the form must not show beside its error";
        std::string text = TextOf(OutputOf(window));
        app.Close(window);
        EXPECT_TRUE(app.WaitForExit()) << "closing the error window must end the program\n" << app.Output();
        return text;
    }

    TempFolder dir;
    TavrelProcess app;
};

// Two bad lines: both are written, only the first is shown, and closing its
// window ends the program.
TEST_F(ParseErrorWindow, FirstErrorIsListedAndTheProgramEndsWhenItIsClosed)
{
    const std::string path = dir.Write("bad.gui", "tool.exe\r\nA tool\r\n\r\n-a {{Text}} Name\r\n-b {{cd}} B\r\n");
    ASSERT_TRUE(app.Start("\"" + path + "\""));

    std::string text = ReadAndClose("Parse Error at Line 4");
    EXPECT_EQ(text, "01: tool.exe\r\n02: A tool\r\n03: \r\n04: -a {{Text}} Name\r\n"
                    ">>> ERROR AT LINE 4: Unrecognized keyword 'Text'\r\n");
    EXPECT_TRUE(ContainsInOrder(app.Output(), {"##ERROR##\tLine 4: Unrecognized keyword 'Text'\n",
                                               "##ERROR##\tLine 5: Unrecognized keyword 'cd'\n"}));
}

}  // namespace
}  // namespace e2e
