// Console throughput: how fast output reaches the console window, what one
// timer tick costs while it streams and once the control is full, and how
// an append behaves on one very long line.
//
//   console_bench [part] [megabytes]     (default: all parts, 20 MB)
//
// Parts:
//   stream   a child (this program, "--write short|long BYTES") writes lines
//            as fast as it can into a real console window; end-to-end time
//            against a plain reader of the same child's pipe, worst gap
//            between two ticks and median tick cost.
//   append   pieces appended straight into a hidden console: cost per piece
//            by piece size, and on one line growing to 2 MB without a line end.
//   full     the control filled with the given amount of output: what one
//            small tick and scrolling cost then.
// Prints figures; never fails on time.

#include <windows.h>

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
constexpr size_t kLongLine = 1000;

std::string ChildText(const std::string& kind, size_t bytes)
{
    return LinesOf(bytes, kind == "long" ? kLongLine : kShortLine);
}

// The child of the streaming runs.
int WriteText(const std::string& kind, size_t bytes)
{
    const std::string text = ChildText(kind, bytes);
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    for (size_t offset = 0; offset < text.size();) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(std::min<size_t>(65536, text.size() - offset));
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

// The limit: the same child, its pipe read to the end with blocking reads.
double PlainReaderSeconds(const std::string& command, size_t* received)
{
    const double start = Now();
    PlainChild child;
    if (!StartPlainChild(command, child))
        return -1;
    std::vector<char> buffer(65536);
    DWORD got = 0;
    *received = 0;
    while (::ReadFile(child.output, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
        *received += got;
    const double seconds = Now() - start;
    EndPlainChild(child);
    return seconds;
}

// The real window, with every timer tick timed.
class TimedConsole : public FakeConsoleDlg {
public:
    std::vector<double> tickStarts, tickCosts;
    double completedAt = 0;

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
            EndDialog(IDOK);
        }
        return result;
    }
};

void BenchStream(const std::string& kind, size_t bytes)
{
    const std::string command = ChildCommand(kind, bytes);
    const size_t expected = ChildText(kind, bytes).size();
    printf("Stream, %s lines (%zu bytes): %s\n", kind.c_str(), expected, command.c_str());

    size_t received = 0;
    const double plain = PlainReaderSeconds(command, &received);
    printf("  plain pipe reader:   %7.2f s, %9.0f bytes/s (%zu bytes)\n", plain, received / plain, received);

    ProcessRunner runner;
    OwnedWindow<TimedConsole> console;
    console.runner = &runner;
    console.command = command;
    const double start = Now();
    console.DoModal();
    if (console.completedAt == 0) {
        printf("  the run did not complete\n");
        return;
    }
    const double seconds = console.completedAt - start;
    printf("  console to banner:   %7.2f s, %9.0f bytes/s, %.2f times the plain reader\n", seconds,
           expected / seconds, seconds / plain);
    std::vector<double> gaps;
    for (size_t i = 1; i < console.tickStarts.size(); ++i)
        gaps.push_back(console.tickStarts[i] - console.tickStarts[i - 1]);
    const SampleSpread gap = SpreadOf(gaps);
    const SampleSpread cost = SpreadOf(console.tickCosts);
    printf("  %zu ticks; gap between ticks median %.1f ms, 99th percentile %.1f ms, worst %.1f ms\n",
           console.tickCosts.size(), 1000 * gap.median, 1000 * gap.p99, 1000 * gap.worst);
    printf("  tick cost median %.1f ms, 99th percentile %.1f ms, worst %.1f ms\n", 1000 * cost.median,
           1000 * cost.p99, 1000 * cost.worst);
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
    const double trim = Timed([&] { console.AppendOutput(overflow); });
    printf("  append of %zu bytes past the limit (oldest output removed): %.2f ms; the control then holds %ld "
           "characters\n",
           overflow.size(), 1000 * trim, console.outputCtrl.GetTextLength());
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
    if (part == "all" || part == "stream") {
        BenchStream("short", bytes);
        BenchStream("long", bytes);
    }
    if (part == "all" || part == "append")
        BenchAppend();
    if (part == "all" || part == "full")
        BenchFull(bytes);
    return 0;
}
