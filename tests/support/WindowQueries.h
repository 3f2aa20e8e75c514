#pragma once
// Reading and driving windows from a test, whoever owns them: this thread, a
// helper thread of this process driving a modal window, or another process
// (the real program). Every message that waits for an answer is bounded, so
// a window that hangs fails a test instead of hanging it; every wait is
// bounded too.
//
// Texts are in the calling program's ANSI code page: UTF-8 in test programs
// that carry the program's manifest, as the program's own texts are.
//
// Order: Descendants() lists the windows below a parent depth-first in
// z-order. For the controls of a dialog or form that is the order they were
// created in, which is also the order the Tab key visits them; the "n-th"
// finders count in that order.
//
// Typical use:
//   HWND name = FindDescendant(dialog, [](HWND w) { return ClassOf(w) == "Edit"; });
//   SetText(name, "me");
//   SetCheck(FindChild(dialog, "Button", "Verbose"), true);
//   Click(FindChild(dialog, "Button", "Run"));
//   WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000);

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// How long one message to a window may take before the sender gives up.
constexpr UINT kWindowReplyTimeoutMs = 5000;

// SendMessageTimeout bounded as above; false when the window did not answer
// in time. For messages that carry no text (text goes through TextOf and
// SetText, which convert it).
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr);

// Calls `condition` every `pollMs` until it holds (true) or `timeoutMs`
// have passed (false). The condition is always asked at least once.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 10);

// ---- What a window is ------------------------------------------------------

// The window's text through WM_GETTEXT: a caption, a control's contents.
// Empty when the window did not answer.
std::string TextOf(HWND window);
// WM_SETTEXT; false when the window did not answer in time.
bool SetText(HWND window, const std::string& text);
// The window class: "Edit", "Button", "Static", "ComboBox", "RichEdit20W",
// "#32770" (a dialog or message box)...
std::string ClassOf(HWND window);
DWORD StyleOf(HWND window);
// The window's rectangle in the coordinates of `reference`'s client area.
RECT RectIn(HWND window, HWND reference);
// A dialog window (a message box is one too).
bool IsDialog(HWND window);
// A button of the check-box kind (plain, automatic or three-state).
bool IsCheckBox(HWND window);
// A push button (default or not).
bool IsPushButton(HWND window);

// The text with every line end (CR LF, or a lone CR) turned into LF: edit
// and rich-edit controls end their lines differently.
std::string WithLineFeeds(const std::string& text);

// ---- Finding windows -------------------------------------------------------

// Every window below `parent`, depth-first in z-order.
std::vector<HWND> Descendants(HWND parent);
// The n-th (counting from 0) descendant that `match` accepts; null when
// there are fewer.
HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match, size_t n = 0);
// The first descendant whose class equals `className` and whose text equals
// `text`; an empty class or text matches any.
HWND FindChild(HWND parent, const std::string& className, const std::string& text = std::string());
// A visible top-level window of the thread that `match` accepts; null when
// there is none.
HWND FindThreadWindow(DWORD threadId, const std::function<bool(HWND)>& match);

// ---- Driving windows -------------------------------------------------------
// Posted, not sent, wherever the action may open a modal window: a test must
// not block in it.

// Posts WM_COMMAND (id, notification code, control) to `window`.
void PostCommand(HWND window, int id, int notifyCode = 0, HWND control = nullptr);
// Presses a button the way the mouse does (BM_CLICK, posted): the button
// takes the focus and tells its parent.
void Click(HWND button);
// Tells the button's parent that it was clicked (BN_CLICKED, posted),
// without moving the focus or the keyboard state.
void PostClicked(HWND button);
// Presses the button `buttonId` (IDOK, IDYES, IDNO...) of a dialog or
// message box.
void AnswerDialog(HWND dialog, int buttonId);
// BM_SETCHECK with BST_CHECKED / BST_UNCHECKED, then BN_CLICKED to the parent
// so that the owner sees the change as a user's click.
bool SetCheck(HWND button, bool checked);
bool IsChecked(HWND button);
// CB_SETCURSEL, then CBN_SELCHANGE to the parent; false when the item does
// not exist.
bool SelectComboItem(HWND combo, int index);
