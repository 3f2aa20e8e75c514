// How long a user waits after pressing Run before the child's first output
// shows in the console window, against a program of ours that starts the
// same command with a plain CreateProcess and blocks on its pipe. Both are
// measured in the same run, alternating, so that they share the machine's
// conditions. Prints figures; never fails on time.
//
// Usage: run_latency_bench [rounds]   (default 20; lands beside the test child)

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "common/Diag.h"
#include "formui/TavrelDlg.h"
#include "framework/WinApp.h"
#include "support/TestPrograms.h"
#include "PlainChild.h"
#include "SampleSpread.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

// The child writes one byte and ends.
std::string ChildCommand() { return QuotedTestChild() + " out 2A"; }

// ---- Plain CreateProcess ---------------------------------------------------

double PlainStartToFirstByte(const std::string& commandLine)
{
    LARGE_INTEGER start = Now();
    PlainChild child;
    if (!StartPlainChild(commandLine, child))
        return -1;
    double elapsed = -1;
    char byte = 0;
    DWORD got = 0;
    if (ReadFile(child.output, &byte, 1, &got, nullptr) && got == 1)
        elapsed = Milliseconds(start, Now());
    EndPlainChild(child);
    return elapsed;
}

// ---- Run in the form -------------------------------------------------------

struct ConsoleSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindConsole(HWND window, LPARAM lParam)
{
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    if (IsWindowVisible(window) && std::string(title).rfind("Executing: ", 0) == 0) {
        reinterpret_cast<ConsoleSearch*>(lParam)->found = window;
        return FALSE;
    }
    return TRUE;
}

LRESULT TextLength(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 2000, &length))
        return 0;
    return static_cast<LRESULT>(length);
}

// Runs on its own thread while the form's thread sits in the console's modal
// loop: notes when the first output shows, then closes the console once the
// exit banner is there.
void WatchConsole(DWORD uiThread, std::atomic<bool>* firstSeen, LARGE_INTEGER* firstAt)
{
    DWORD deadline = GetTickCount() + 20000;
    HWND console = nullptr;
    while (console == nullptr && GetTickCount() < deadline) {
        ConsoleSearch search;
        EnumThreadWindows(uiThread, FindConsole, reinterpret_cast<LPARAM>(&search));
        console = search.found;
        if (console == nullptr)
            Sleep(1);
    }
    if (console == nullptr)
        return;
    HWND output = GetDlgItem(console, 1004);
    while (!firstSeen->load() && GetTickCount() < deadline) {
        if (TextLength(output) > 0) {
            *firstAt = Now();
            firstSeen->store(true);
        } else {
            Sleep(1);
        }
    }
    // The banner follows the child's end; then the user closes the window.
    while (GetTickCount() < deadline) {
        std::string text(static_cast<size_t>(TextLength(output)) + 1, '\0');
        SendMessageTimeoutA(output, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL, 2000,
                            nullptr);
        if (text.find("Process exited") != std::string::npos)
            break;
        Sleep(5);
    }
    PostMessageA(console, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

double RunToFirstOutput(CTavrelDlg& form)
{
    std::atomic<bool> firstSeen(false);
    LARGE_INTEGER firstAt = {};
    std::thread watcher(WatchConsole, GetCurrentThreadId(), &firstSeen, &firstAt);
    LARGE_INTEGER pressed = Now();
    form.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // returns when the console closes
    watcher.join();
    return firstSeen.load() ? Milliseconds(pressed, firstAt) : -1;
}

void Print(const char* what, const SampleSpread& figures)
{
    printf("%-34s n=%2u  median %7.2f ms  min %7.2f ms  mean %7.2f ms\n", what, static_cast<unsigned>(figures.count),
           figures.median, figures.minimum, figures.mean);
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    setvbuf(stdout, nullptr, _IONBF, 0);

    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    char formPath[MAX_PATH] = {};
    GetTempFileNameA(folder, "tvb", 0, formPath);
    std::ofstream(formPath, std::ios::binary | std::ios::trunc)
        << ChildCommand() << "\r\nRun latency.\r\n";

    SetDiagSink([](const std::string&) {});  // the program's trace would dominate the figures
    SetMessageBoxHook([](HWND, const std::string&, const std::string&, UINT) { return IDOK; });
    std::vector<double> viaForm, plain;
    {
        CTavrelDlg form;
        form.m_strGuiPath = formPath;
        if (!form.Create()) {
            printf("could not open the form dialog\n");
            return 1;
        }
        form.ShowWindow(SW_SHOWNORMAL);

        // One of each first, not counted: the first start of a program is slower.
        RunToFirstOutput(form);
        PlainStartToFirstByte(ChildCommand());
        for (int round = 0; round < rounds; ++round) {
            viaForm.push_back(RunToFirstOutput(form));
            plain.push_back(PlainStartToFirstByte(ChildCommand()));
        }
        form.DestroyWindow();
    }
    SetDiagSink(nullptr);
    DeleteFileA(formPath);

    SampleSpread formFigures = SpreadOf(viaForm);
    SampleSpread plainFigures = SpreadOf(plain);
    printf("Command: %s\n", ChildCommand().c_str());
    Print("Run pressed -> output in console", formFigures);
    Print("CreateProcess -> first byte", plainFigures);
    if (plainFigures.count > 0 && plainFigures.median > 0)
        printf("Ratio of medians (form / plain): %.2f\n", formFigures.median / plainFigures.median);
    return 0;
}
