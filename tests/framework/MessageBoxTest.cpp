// Message boxes: the application's caption and the default icons.

#include <gtest/gtest.h>

#include "framework/WinApp.h"

namespace {

struct RecordedBox {
    std::string text, caption;
    UINT type = 0;
};

class MessageBoxCapture {
public:
    explicit MessageBoxCapture(int answer)
    {
        SetMessageBoxHook([this, answer](HWND, const std::string& text, const std::string& caption,
                                         UINT type) {
            last.text = text;
            last.caption = caption;
            last.type = type;
            ++count;
            return answer;
        });
    }
    ~MessageBoxCapture() { SetMessageBoxHook(nullptr); }
    RecordedBox last;
    int count = 0;
};

TEST(AfxMessageBox, CaptionIsTheExecutablesBaseName)
{
    MessageBoxCapture boxes(IDOK);
    AfxMessageBox("hello");
    EXPECT_EQ(boxes.count, 1);
    EXPECT_EQ(boxes.last.text, "hello");
    // The test program is framework_tests.exe.
    EXPECT_EQ(boxes.last.caption, "framework_tests");
}

TEST(AfxMessageBox, BoxesWithoutAnIconGetTheDefaultForTheirButtons)
{
    MessageBoxCapture boxes(IDYES);
    AfxMessageBox("a", MB_OK);
    EXPECT_EQ(boxes.last.type, (UINT)(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(AfxMessageBox("b", MB_YESNO), IDYES);
    EXPECT_EQ(boxes.last.type, (UINT)(MB_YESNO | MB_ICONQUESTION));
    AfxMessageBox("c", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(boxes.last.type, (UINT)(MB_OK | MB_ICONINFORMATION));
}

}  // namespace
