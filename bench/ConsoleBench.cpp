// Console throughput: how fast output reaches the console window, what one
// timer tick costs while it streams and once the control is full, and how
// an append behaves on one very long line.
//
//   console_bench [part] [megabytes]     (default: all parts, 20 MB)
//
// Parts: stream (or one of its runs: lines, pieces, oneline), append, full.
//
// Parts:
//   stream   a child (this program, "--write KIND BYTES") writes as fast as
//            it can into a real console window: 64-byte lines one write per
//            line, the same lines in 4 KB writes, and one 5 MB line. The
//            child's own run time (start to exit) and Run to "(Completed)",
//            each against a plain reader of the same child's pipe in the same
//            run; the gap between two ticks, the cost of a tick, and the most
//            output the reader held unread.
//   append   pieces appended straight into a hidden console: cost per piece
//            by piece size, and on one line growing to 2 MB without a line end.
//   full     the control filled with the given amount of output: what one
//            small tick and scrolling cost then.
// Prints figures; never fails on time.

#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/ProcessRunner.h"
#include "PlainChild.h"
#include "SampleSpread.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Numbered lines so that none repeats; `width` characters before the line end.
std::string LinesOf(size_t bytes, size_t width)
{
    std::string text;
    text.reserve(bytes + width + 2);
    char number[32];
    for (int i = 1; text.size() < bytes; ++i) {
        snprintf(number, sizeof number, "line %8d: ", i);
        std::string line = number;
        while (line.size() < width)
            line += "the quick brown fox jumps over the lazy dog 0123456789 ";
        line.resize(width);
        text += line + "\r\n";
    }
    return text;
}

constexpr size_t kShortLine = 70;
// 62 characters and CR LF: the 64-byte lines of a flushing, line-buffered tool.
constexpr size_t kLine64 = 62;

// What the child writes and in which pieces: "lines" one write per 64-byte
// line, "pieces" the same lines in 4 KB writes, "oneline" one line of BYTES
// characters in 64 KB writes.
std::string ChildText(const std::string& kind, size_t bytes)
{
    if (kind == "oneline")
        return std::string(bytes, 'x') + "\r\n";
    return LinesOf(bytes, kLine64);
}

size_t WriteSize(const std::string& kind)
{
    if (kind == "lines")
        return kLine64 + 2;
    return kind == "pieces" ? 4096 : 65536;
}

int WriteText(const std::string& kind, size_t bytes)
{
    const std::string text = ChildText(kind, bytes);
    const size_t piece = WriteSize(kind);
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    for (size_t offset = 0; offset < text.size();) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(std::min(piece, text.size() - offset));
        if (!::WriteFile(out, text.data() + offset, size, &written, nullptr) || written == 0)
            return 1;
        offset += written;
    }
    return 0;
}

std::string OwnPath()
{
    char path[MAX_PATH * 2];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length);
}

std::string ChildCommand(const std::string& kind, size_t bytes)
{
    return "\"" + OwnPath() + "\" --write " + kind + " " + std::to_string(bytes);
}

// The child's own run time, start to exit, as the system recorded it.
double ProcessSeconds(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return -1;
    auto ticks = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(exited) - ticks(created)) / 1e7;
}

struct PlainRun {
    double seconds = -1;       // start to the end of the output
    double childSeconds = -1;  // the child's own run time
    size_t received = 0;
};

// The limit: the same child, its pipe read to the end with blocking reads.
PlainRun PlainReader(const std::string& command)
{
    PlainRun run;
    const double start = Now();
    PlainChild child;
    if (!StartPlainChild(command, child))
        return run;
    std::vector<char> buffer(65536);
    DWORD got = 0;
    while (::ReadFile(child.output, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
        run.received += got;
    run.seconds = Now() - start;
    ::WaitForSingleObject(child.info.hProcess, 5000);
    run.childSeconds = ProcessSeconds(child.info.hProcess);
    EndPlainChild(child);
    return run;
}

// The real window, with every timer tick timed; saves its output on
// completion when asked to.
class TimedConsole : public FakeConsoleDlg {
public:
    std::vector<double> tickStarts, tickCosts;
    double completedAt = 0;
    double childSeconds = -1;
    std::string savePath;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_TIMER)
            return FakeConsoleDlg::WindowProc(message, wParam, lParam);
        const double start = Now();
        const LRESULT result = FakeConsoleDlg::WindowProc(message, wParam, lParam);
        tickStarts.push_back(start);
        tickCosts.push_back(Now() - start);
        if (timerId == 0 && completedAt == 0) {
            completedAt = Now();
            childSeconds = ProcessSeconds(runner->ProcessHandle());
            if (!savePath.empty())
                SaveOutputTo(savePath);
            EndDialog(IDOK);
        }
        return result;
    }
};

bool HoldsTheLineWhole(const std::string& path, size_t length)
{
    std::string bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        std::vector<char> buffer(1 << 20);
        size_t got = 0;
        while ((got = fread(buffer.data(), 1, buffer.size(), file)) > 0)
            bytes.append(buffer.data(), got);
        fclose(file);
    }
    return bytes.compare(0, length + 2, std::string(length, 'x') + "\r\n") == 0;
}

void BenchStream(const std::string& kind, size_t bytes)
{
    const std::string command = ChildCommand(kind, bytes);
    const size_t expected = ChildText(kind, bytes).size();
    printf("Stream, %s (%zu bytes in writes of %zu bytes)\n", kind.c_str(), expected, WriteSize(kind));

    const PlainRun plain = PlainReader(command);
    printf("  plain pipe reader:   %7.2f s to the end of the output, child ran %.2f s (%zu bytes)\n", plain.seconds,
           plain.childSeconds, plain.received);

    ProcessRunner runner;
    OwnedWindow<TimedConsole> console;
    console.runner = &runner;
    console.command = command;
    if (kind == "oneline") {
        char folder[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, folder);
        console.savePath = std::string(folder) + "console-bench-line.txt";
    }
    const double start = Now();
    console.DoModal();
    if (console.completedAt == 0) {
        printf("  the run did not complete\n");
        return;
    }
    const double seconds = console.completedAt - start;
    printf("  console:             %7.2f s Run to (Completed) (%.2f times the plain reader), child ran %.2f s "
           "(%.2f times its run beside the plain reader)\n",
           seconds, seconds / plain.seconds, console.childSeconds, console.childSeconds / plain.childSeconds);
    std::vector<double> gaps;
    for (size_t i = 1; i < console.tickStarts.size(); ++i)
        gaps.push_back(console.tickStarts[i] - console.tickStarts[i - 1]);
    const SampleSpread gap = SpreadOf(gaps);
    const SampleSpread cost = SpreadOf(console.tickCosts);
    printf("  %zu ticks; gap between ticks median %.1f ms, 99th percentile %.1f ms, worst %.1f ms\n",
           console.tickCosts.size(), 1000 * gap.median, 1000 * gap.p99, 1000 * gap.worst);
    printf("  tick cost median %.1f ms, 99th percentile %.1f ms, worst %.1f ms\n", 1000 * cost.median,
           1000 * cost.p99, 1000 * cost.worst);
    printf("  the reader held at most %.1f MB unread\n", runner.PeakWaitingOutput() / 1e6);
    if (!console.savePath.empty()) {
        printf("  saved file holds the %zu-byte line whole: %s\n", bytes,
               HoldsTheLineWhole(console.savePath, bytes) ? "yes" : "NO");
        ::DeleteFileA(console.savePath.c_str());
    }
}

struct HiddenConsole {
    OwnedWindow<FakeConsoleDlg> console;
    bool ok = false;
    HiddenConsole()
    {
        console.textMode = true;
        ok = console.Create() != FALSE;
        if (!ok)
            printf("  could not create the console window\n");
    }
};

// Appends `text` in pieces of `piece` bytes; the cost of each piece.
std::vector<double> AppendInPieces(FakeConsoleDlg& console, const std::string& text, size_t piece)
{
    std::vector<double> costs;
    for (size_t offset = 0; offset < text.size(); offset += piece) {
        const double start = Now();
        console.AppendOutput(text.substr(offset, piece));
        costs.push_back(Now() - start);
    }
    return costs;
}

void BenchAppend()
{
    printf("Append path, 4 MB of short lines into a hidden console, by piece size:\n");
    const std::string text = LinesOf(4000000, kShortLine);
    for (size_t piece : { size_t(4095), size_t(65536), size_t(262144) }) {
        HiddenConsole hidden;
        if (!hidden.ok)
            return;
        const double start = Now();
        const SampleSpread cost = SpreadOf(AppendInPieces(hidden.console, text, piece));
        const double seconds = Now() - start;
        printf("  %6zu-byte pieces: %9.0f bytes/s; per piece median %.2f ms, worst %.2f ms\n", piece,
               text.size() / seconds, 1000 * cost.median, 1000 * cost.worst);
    }

    printf("Append path, one line growing to 2 MB without a line end, 4095-byte pieces:\n");
    HiddenConsole hidden;
    if (!hidden.ok)
        return;
    const std::string line(2000000, 'x');
    const std::vector<double> costs = AppendInPieces(hidden.console, line, 4095);
    const size_t quarter = costs.size() / 4;
    for (size_t band = 0; band < 4; ++band) {
        const SampleSpread cost = SpreadOf(std::vector<double>(costs.begin() + band * quarter,
                                                         costs.begin() + (band + 1) * quarter));
        printf("  line at %4zu-%4zu KB: per piece median %.2f ms, worst %.2f ms\n", band * 500, (band + 1) * 500,
               1000 * cost.median, 1000 * cost.worst);
    }
    const double start = Now();
    hidden.console.AppendOutput("\r\nend\r\n");
    printf("  ending that line and one more: %.2f ms\n", 1000 * (Now() - start));
}

double Timed(const std::function<void()>& action)
{
    const double start = Now();
    action();
    return Now() - start;
}

// The last characters the control shows (its line ends left out).
std::wstring ShownTail(FakeConsoleDlg& console)
{
    CRichEditCtrl& output = console.outputCtrl;
    const long length = output.GetTextLength();
    std::wstring text(64, L'\0');
    TEXTRANGEW range = { { std::max(0L, length - 40), length }, &text[0] };
    text.resize(static_cast<size_t>(::SendMessageW(output.m_hWnd, EM_GETTEXTRANGE, 0, (LPARAM)&range)));
    text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
    text.erase(std::remove(text.begin(), text.end(), L'\n'), text.end());
    return text.size() > 38 ? text.substr(text.size() - 38) : text;
}

void BenchFull(size_t bytes)
{
    HiddenConsole hidden;
    if (!hidden.ok)
        return;
    FakeConsoleDlg& console = hidden.console;
    // Filled to just below the point where the oldest output makes room.
    const size_t fill = std::min(bytes, static_cast<size_t>(console.textLimit) / 20 * 19);
    printf("Full control: %zu bytes of short lines appended in 64 KB pieces\n", fill);
    const double filling = Timed([&] { AppendInPieces(console, LinesOf(fill, kShortLine), 65536); });
    CRichEditCtrl& output = console.outputCtrl;
    printf("  filled in %.2f s; the control holds %ld characters in %d lines\n", filling, output.GetTextLength(),
           output.GetLineCount());
    std::vector<double> ticks;
    for (int i = 0; i < 50; ++i)
        ticks.push_back(Timed([&] { console.AppendOutput("one more line of output\r\n"); }));
    const SampleSpread tick = SpreadOf(ticks);
    printf("  one-line append: median %.2f ms, worst %.2f ms\n", 1000 * tick.median, 1000 * tick.worst);
    std::vector<double> pieces;
    const std::string piece = LinesOf(65536, kShortLine);
    for (int i = 0; i < 5; ++i)
        pieces.push_back(Timed([&] { console.AppendOutput(piece); }));
    printf("  64 KB append: median %.2f ms\n", 1000 * SpreadOf(pieces).median);
    const HWND control = output.m_hWnd;
    const double top = Timed([&] { ::SendMessageA(control, WM_VSCROLL, SB_TOP, 0); ::UpdateWindow(control); });
    std::vector<double> pages;
    for (int i = 0; i < 20; ++i)
        pages.push_back(Timed([&] { ::SendMessageA(control, WM_VSCROLL, SB_PAGEDOWN, 0); ::UpdateWindow(control); }));
    const double bottom =
        Timed([&] { ::SendMessageA(control, WM_VSCROLL, SB_BOTTOM, 0); ::UpdateWindow(control); });
    const SampleSpread page = SpreadOf(pages);
    printf("  scroll to top %.2f ms, page down median %.2f ms (worst %.2f), to bottom %.2f ms\n", 1000 * top,
           1000 * page.median, 1000 * page.worst, 1000 * bottom);
    const std::string overflow = LinesOf(static_cast<size_t>(console.textLimit) / 10, kShortLine);
    // The trim fills a new control a tick's share at a time: the window's
    // messages are handled until the new output shows.
    const double trimStart = Now();
    const double first = Timed([&] { console.AppendOutput(overflow); });
    double worst = first;
    const std::string tail = overflow.substr(overflow.size() - 40, 38);
    while (console.outputCtrl.GetTextLength() > console.textLimit / 4 * 3 + static_cast<long>(overflow.size()) ||
           ShownTail(console) != std::wstring(tail.begin(), tail.end())) {
        if (Now() - trimStart > 120) {
            printf("  the trim did not end within two minutes\n");
            return;
        }
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::Sleep(1);
            continue;
        }
        worst = std::max(worst, Timed([&] { ::DispatchMessageA(&msg); }));
    }
    printf("  append of %zu bytes past the limit (oldest output removed): shown after %.2f ms, the longest step "
           "%.2f ms; the control then holds %ld characters\n",
           overflow.size(), 1000 * (Now() - trimStart), 1000 * worst, console.outputCtrl.GetTextLength());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 3 && std::string(argv[1]) == "--write")
        return WriteText(argv[2], static_cast<size_t>(atof(argv[3])));
    const std::string part = argc > 1 ? argv[1] : "all";
    const double megabytes = argc > 2 ? atof(argv[2]) : 20.0;
    const size_t bytes = static_cast<size_t>(megabytes * 1000 * 1000);
    if (::LoadLibraryA("RICHED20.DLL") == nullptr) {
        printf("RICHED20.DLL is missing\n");
        return 1;
    }
    setvbuf(stdout, nullptr, _IONBF, 0);
    SetDiagSink([](const std::string&) {});  // the runner's and console's trace lines
    const bool stream = part == "all" || part == "stream";
    if (stream || part == "lines")
        BenchStream("lines", bytes);
    if (stream || part == "pieces")
        BenchStream("pieces", bytes);
    if (stream || part == "oneline")
        BenchStream("oneline", bytes / 4);
    if (part == "all" || part == "append")
        BenchAppend();
    if (part == "all" || part == "full")
        BenchFull(bytes);
    return 0;
}
