// Time from process start to the form being shown and idle, for a form of
// 20 controls and one of 1,000, against two baselines built the same way,
// all in the same run: the bare dialog (the empty form template) and the
// bare program that creates the same windows as tavrel.exe for the form
// (see BareDialog.cpp). Prints figures only.
//
// Usage: form_open_bench [--runs N] [--tavrel PATH]
// tavrel.exe is looked for beside this program and one folder up.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "BenchForm.h"

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH * 2] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string TempFile(const char* name)
{
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::string WriteForm(int count)
{
    std::string path = TempFile(count > 100 ? "tavrel-bench-large.gui" : "tavrel-bench-small.gui");
    std::ofstream(path, std::ios::binary) << BenchFormText(count);
    return path;
}

struct FindWindowOf {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<FindWindowOf*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from CreateProcess until the program has a visible window
// and waits for input; negative on failure.
double TimeOpen(const std::string& commandLine)
{
    // The program's trace goes to a file, as when it is captured. (Wine
    // makes every write to NUL so slow that the trace of a large form
    // would take longer than the form itself.)
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    HANDLE trace = ::CreateFileA(TempFile("tavrel-bench-trace.log").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                 &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = trace;
    startup.hStdError = trace;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');

    LARGE_INTEGER frequency, start, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    BOOL started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                    &startup, &process);
    ::CloseHandle(trace);
    if (!started)
        return -1;

    double elapsed = -1;
    FindWindowOf search = { process.dwProcessId, nullptr };
    const DWORD deadline = ::GetTickCount() + 60000;
    while (::GetTickCount() < deadline) {
        DWORD idle = ::WaitForInputIdle(process.hProcess, 100);
        if (idle == WAIT_FAILED)
            break;
        search.found = nullptr;
        ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (idle == 0 && search.found != nullptr) {
            ::QueryPerformanceCounter(&now);
            elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
            break;
        }
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;  // ended without showing anything
        ::Sleep(1);
    }

    if (search.found != nullptr)
        ::PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

struct Figures {
    double median = -1, min = -1, max = -1;
    int failed = 0;
};

Figures Summarise(std::vector<double> times, int failed)
{
    Figures figures;
    figures.failed = failed;
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        figures.median = times[times.size() / 2];
        figures.min = times.front();
        figures.max = times.back();
    }
    return figures;
}

// Runs every program once per round, `runs` rounds: a machine busy with
// other work slows all of them alike instead of whichever ran then.
std::vector<Figures> Measure(const std::vector<std::string>& commandLines, int runs)
{
    std::vector<std::vector<double>> times(commandLines.size());
    std::vector<int> failed(commandLines.size(), 0);
    for (int round = 0; round < runs; ++round) {
        for (size_t i = 0; i < commandLines.size(); ++i) {
            double ms = TimeOpen(commandLines[i]);
            if (ms < 0)
                ++failed[i];
            else
                times[i].push_back(ms);
        }
    }
    std::vector<Figures> figures;
    for (size_t i = 0; i < commandLines.size(); ++i)
        figures.push_back(Summarise(times[i], failed[i]));
    return figures;
}

double Ratio(const Figures& figures, const Figures& baseline)
{
    return figures.median > 0 && baseline.median > 0 ? figures.median / baseline.median : -1;
}

void Print(const char* name, const Figures& figures, const Figures* baseline)
{
    printf("  %-26s median %8.1f ms   min %8.1f   max %8.1f", name, figures.median, figures.min, figures.max);
    if (baseline != nullptr && Ratio(figures, *baseline) > 0)
        printf("   ratio to bare dialog %5.2f", Ratio(figures, *baseline));
    if (figures.failed > 0)
        printf("   (%d runs failed)", figures.failed);
    printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 9;
    std::string tavrel;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, atoi(argv[++i]));
        else if (strcmp(argv[i], "--tavrel") == 0 && i + 1 < argc)
            tavrel = argv[++i];
    }
    const std::string folder = ProgramFolder();
    if (tavrel.empty())
        tavrel = FileExists(folder + "tavrel.exe") ? folder + "tavrel.exe" : folder + "..\\tavrel.exe";
    const std::string baseline = folder + "form_open_baseline.exe";
    if (!FileExists(tavrel) || !FileExists(baseline)) {
        printf("needs %s and %s\n", tavrel.c_str(), baseline.c_str());
        return 1;
    }

    const std::string small = WriteForm(20);
    const std::string large = WriteForm(1000);
    printf("Form open: process start to form shown and idle, %d runs each\n", runs);
    const std::string bareWindows = "\"" + baseline + "\" ";
    const std::vector<std::string> programs = {
        "\"" + baseline + "\"",
        bareWindows + "20",
        "\"" + tavrel + "\" \"" + small + "\"",
        bareWindows + "1000",
        "\"" + tavrel + "\" \"" + large + "\"",
    };
    // One round first, so that every program's file is in the cache.
    Measure(programs, 1);
    std::vector<Figures> figures = Measure(programs, runs);
    const Figures& bare = figures[0];
    const Figures& bareTwenty = figures[1];
    const Figures& twenty = figures[2];
    const Figures& bareThousand = figures[3];
    const Figures& thousand = figures[4];
    Print("bare dialog", bare, nullptr);
    Print("bare, same windows, 20", bareTwenty, &bare);
    Print("tavrel, 20 controls", twenty, &bare);
    Print("bare, same windows, 1000", bareThousand, &bare);
    Print("tavrel, 1000 controls", thousand, &bare);
    // The fastest run is the one least disturbed by other work on the
    // machine: on a busy machine compare the minima.
    printf("  by median: tavrel 20 / bare dialog %.2f, tavrel 1000 / bare same windows 1000 %.2f\n",
           Ratio(twenty, bare), Ratio(thousand, bareThousand));
    printf("  by minimum: tavrel 20 / bare dialog %.2f, tavrel 1000 / bare same windows 1000 %.2f\n",
           twenty.min / bare.min, thousand.min / bareThousand.min);

    ::DeleteFileA(small.c_str());
    ::DeleteFileA(large.c_str());
    ::DeleteFileA(TempFile("tavrel-bench-trace.log").c_str());
    return 0;
}
