// Parse errors as the user sees them: the console window in text mode,
// titled with the line, showing the listing; then the program's end.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FormdefTestSupport.h"
#include "common/Diag.h"
#include "formdef/ConsoleErrorPresenter.h"
#include "framework/WinApp.h"
#include "resource.h"
#include "support/WindowQueries.h"

namespace {

struct SeenWindow {
    std::string title;
    std::string text;  // of the console's output control
};

// Timer procedures get no context: the one watcher of the thread keeps its
// findings here.
std::vector<SeenWindow> g_seen;
std::vector<HWND> g_handled;

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM windows)
{
    if (IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(hwnd);
    return TRUE;
}

// Records every window of this thread that becomes visible, then closes it
// as a user would with the close box.
void CALLBACK WatchWindows(HWND, UINT, UINT_PTR, DWORD)
{
    std::vector<HWND> visible;
    EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&visible));
    for (HWND hwnd : visible) {
        if (std::find(g_handled.begin(), g_handled.end(), hwnd) != g_handled.end())
            continue;
        g_handled.push_back(hwnd);
        HWND output = GetDlgItem(hwnd, IDC_CONSOLE_OUTPUT);
        g_seen.push_back({TextOf(hwnd), output ? TextOf(output) : std::string("<no output control>")});
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
}

class ErrorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_seen.clear();
        g_handled.clear();
        InstallConsoleErrorPresenter();
        m_timer = SetTimer(nullptr, 0, 20, WatchWindows);
    }
    void TearDown() override
    {
        KillTimer(nullptr, m_timer);
        SetParseErrorPresenter(nullptr);
        TakeQuitRequest();
    }
    // True when a quit request was pending (and takes it out of the queue).
    static bool TakeQuitRequest()
    {
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 0;
    }

    DiagCapture diag;
    CFormModel model;

private:
    UINT_PTR m_timer = 0;
};

struct ReportCase {
    const char* name;
    std::string form;
    std::string title;
    std::string text;
};

std::string ManyLinesThenAnError()
{
    std::string form = "t\nd\n";
    for (int line = 3; line <= 104; ++line)
        form += "-a A\n";
    return form + "-x {{nope}} X\n";
}

std::string ListingOfManyLines()
{
    std::string listing = "01: t\r\n02: d\r\n";
    for (int line = 3; line <= 104; ++line)
        listing += (line < 10 ? "0" : "") + std::to_string(line) + ": -a A\r\n";
    return listing + "105: -x {{nope}} X\r\n>>> ERROR AT LINE 105: Unrecognized keyword 'nope'\r\n";
}

TEST_F(ErrorWindow, ShowsTheReportTitledWithItsLineThenEndsTheProgram)
{
    const std::vector<ReportCase> cases = {
        {"empty file", "", "Parse Error", "Parse Error:\r\n\r\nError: File is empty"},
        {"one line", " tool.exe ", "Parse Error at Line 1",
         "01:  tool.exe \r\n>>> ERROR AT LINE 1: Missing description line\r\n"},
        {"after blank lines", "t\nd\n-a A\n\n\n-b B\n{{required}} X\n", "Parse Error at Line 7",
         "01: t\r\n02: d\r\n03: -a A\r\n04: \r\n05: \r\n06: -b B\r\n07: {{required}} X\r\n"
         ">>> ERROR AT LINE 7: {{required}} tag missing type (e.g., {{required text}})\r\n"},
        {"line 105", ManyLinesThenAnError(), "Parse Error at Line 105", ListingOfManyLines()},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_seen.clear();
        ParseText(model, c.form);
        ASSERT_EQ(g_seen.size(), 1u);
        EXPECT_EQ(g_seen[0].title, c.title);
        EXPECT_EQ(g_seen[0].text, c.text);
        EXPECT_TRUE(TakeQuitRequest());
    }
}

TEST_F(ErrorWindow, SecondErrorOfAFileIsWrittenButItsWindowNeverShows)
{
    EXPECT_TRUE(ParseText(model, "t\nd\n{{Bad}} a\n-b B\n{{Worse}} c\n"));
    EXPECT_NE(diag.Text().find("##ERROR##\tLine 3: Unrecognized keyword 'Bad'\n"), std::string::npos);
    EXPECT_NE(diag.Text().find("##ERROR##\tLine 5: Unrecognized keyword 'Worse'\n"), std::string::npos);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].title, "Parse Error at Line 3");
    EXPECT_TRUE(TakeQuitRequest());
    EXPECT_FALSE(TakeQuitRequest());  // one request, not one per error loop
}

TEST_F(ErrorWindow, FileThatDoesNotOpenShowsAnErrorBoxAndTheProgramGoesOn)
{
    struct Box {
        HWND owner;
        std::string text, caption;
        UINT type;
    };
    std::vector<Box> boxes;
    SetMessageBoxHook([&](HWND owner, const std::string& text, const std::string& caption, UINT type) {
        boxes.push_back({owner, text, caption, type});
        return IDOK;
    });
    PortableTempFolder folder;
    const std::string missing = folder.PathOf("nowhere.gui");
    EXPECT_FALSE(model.ParseFile(missing));
    SetMessageBoxHook(nullptr);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text, "Failed to open file: " + missing);
    EXPECT_EQ(boxes[0].caption, "Tavrel Parse Error");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(g_seen.empty());
    EXPECT_FALSE(TakeQuitRequest());
}

}  // namespace
