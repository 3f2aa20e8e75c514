// Message maps: which handler a message reaches, with which arguments.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "common/Diag.h"
#include "framework/Dialog.h"
#include "framework/WinApp.h"

namespace {

class RecordingWnd : public CWnd {
public:
    std::vector<UINT> browsed, edited, clicked;
    int sizes = 0, lastCx = 0, lastCy = 0;

    void OnBrowse(UINT id) { browsed.push_back(id); }
    void OnEditChange(UINT id) { edited.push_back(id); }
    void OnRunClicked() { clicked.push_back(1); }
    void OnSize(UINT, int cx, int cy)
    {
        ++sizes;
        lastCx = cx;
        lastCy = cy;
    }
    UINT OnGetDlgCode() { return DLGC_WANTCHARS; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
    ON_COMMAND(1, OnRunClicked)
    ON_COMMAND_RANGE(3000, 3100, OnBrowse)
    ON_CONTROL_RANGE(EN_CHANGE, 8000, 9000, OnEditChange)
    ON_WM_SIZE()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

// A derived class whose table is searched before its base's.
class DerivedWnd : public RecordingWnd {
public:
    std::vector<UINT> overridden;
    void OnFirstBrowse(UINT id) { overridden.push_back(id); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, RecordingWnd)
    ON_COMMAND_RANGE(3000, 3000, OnFirstBrowse)
END_MESSAGE_MAP()

RECT Rect(int l, int t, int r, int b)
{
    RECT rc = { l, t, r, b };
    return rc;
}

template <class W>
bool CreatePlain(W& wnd)
{
    return wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0);
}

TEST(MessageRouting, CommandRangesAreInclusiveAndMatchTheNotificationCode)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePlain(wnd));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(2999, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(3000, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(3100, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(3101, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(3050, BN_DOUBLECLICKED));  // other code: no handler
    EXPECT_EQ(wnd.browsed, (std::vector<UINT>{ 3000, 3100 }));

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(8000, EN_CHANGE));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(9000, EN_CHANGE));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(8500, BN_CLICKED));  // a click on an edit id
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(9001, EN_CHANGE));
    EXPECT_EQ(wnd.edited, (std::vector<UINT>{ 8000, 9000 }));

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(1, BN_CLICKED));
    EXPECT_EQ(wnd.clicked.size(), 1u);
}

TEST(MessageRouting, MessagesAreCrackedForTheirHandlers)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePlain(wnd));
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
    EXPECT_EQ(wnd.lastCx, 123);
    EXPECT_EQ(wnd.lastCy, 45);
    EXPECT_EQ(wnd.SendMessage(WM_GETDLGCODE), (LRESULT)DLGC_WANTCHARS);
}

TEST(MessageRouting, DerivedTableWinsAndBaseTableStillServesTheRest)
{
    DerivedWnd wnd;
    ASSERT_TRUE(CreatePlain(wnd));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(3000, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(3001, BN_CLICKED));
    EXPECT_EQ(wnd.overridden, (std::vector<UINT>{ 3000 }));
    EXPECT_EQ(wnd.browsed, (std::vector<UINT>{ 3001 }));
}

TEST(MessageRouting, ObjectLetsGoOfItsWindowWhenTheWindowIsDestroyed)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePlain(wnd));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(MessageRouting, DeletingTheObjectDestroysItsWindow)
{
    HWND hWnd = nullptr;
    {
        RecordingWnd wnd;
        ASSERT_TRUE(CreatePlain(wnd));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

// Counts the WM_DESTROY messages its own handler sees.
class DestroyCountingWnd : public CWnd {
public:
    explicit DestroyCountingWnd(int* destroyed) : m_destroyed(destroyed) {}
    LRESULT OnDestroyWindow(WPARAM, LPARAM)
    {
        ++*m_destroyed;
        return Default();
    }
    DECLARE_MESSAGE_MAP()

private:
    int* m_destroyed;
};

BEGIN_MESSAGE_MAP(DestroyCountingWnd, CWnd)
    ON_MESSAGE(WM_DESTROY, OnDestroyWindow)
END_MESSAGE_MAP()

// A window object with a child window object as a member, as a dialog holds
// its panel.
class ParentWithChild : public DestroyCountingWnd {
public:
    ParentWithChild(int* destroyed, int* childDestroyed)
        : DestroyCountingWnd(destroyed), child(childDestroyed)
    {
    }
    DestroyCountingWnd child;
};

TEST(MessageRouting, OwnedWindowRunsEveryClassesDestroyHandlingWhenDeletedWithItsWindowAlive)
{
    int destroyed = 0, childDestroyed = 0;
    HWND parent = nullptr, child = nullptr;
    {
        OwnedWindow<ParentWithChild> wnd(&destroyed, &childDestroyed);
        ASSERT_TRUE(CreatePlain(wnd));
        ASSERT_TRUE(wnd.child.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, Rect(0, 0, 10, 10), &wnd, 1));
        parent = wnd.m_hWnd;
        child = wnd.child.m_hWnd;
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(childDestroyed, 1);
    EXPECT_FALSE(::IsWindow(parent));
    EXPECT_FALSE(::IsWindow(child));
    EXPECT_EQ(CWnd::FromHandlePermanent(parent), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(child), nullptr);
}

// A handler that fails: the failure stops at the window procedure and is
// said on a diagnostic line.
class ThrowingWnd : public CWnd {
public:
    LRESULT OnFail(WPARAM, LPARAM) { throw std::runtime_error("no room for the label"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ThrowingWnd, CWnd)
    ON_MESSAGE(WM_APP, OnFail)
END_MESSAGE_MAP()

TEST(MessageRouting, AnExceptionInAHandlerIsReportedAndStopsAtTheWindowProcedure)
{
    ThrowingWnd wnd;
    ASSERT_TRUE(CreatePlain(wnd));
    DiagCapture diag;
    EXPECT_EQ(wnd.SendMessage(WM_APP), 0);
    EXPECT_EQ(diag.Text(), "ERROR: handling a window message: no room for the label\n");
}

}  // namespace
