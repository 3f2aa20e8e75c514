// Console throughput: how fast output reaches the console window, and what
// one timer tick (read + append) costs once the control already holds
// megabytes of text.
//
//   console_bench [megabytes [append|run]]     (default: 10, both parts)
//
// The first measurement appends pipe-sized chunks straight into a hidden console, so the
// append path is measured without waiting for timers. The second starts this
// program again as the child ("--write-lines BYTES"), which writes lines
// into a real console window, and times every tick until the exit banner.
// Prints figures; never fails on time.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/ProcessRunner.h"

namespace {

constexpr size_t kChunk = 4095;  // what one tick takes from the pipe at most

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

struct Sample {
    long charsBefore;
    double seconds;
};

// Figures for the samples taken while the control held at least `fromChars`
// (and less than `toChars`) characters.
void PrintBand(const char* label, const std::vector<Sample>& samples, long fromChars, long toChars)
{
    double total = 0, worst = 0;
    size_t count = 0;
    for (const Sample& sample : samples) {
        if (sample.charsBefore < fromChars || sample.charsBefore >= toChars)
            continue;
        total += sample.seconds;
        worst = std::max(worst, sample.seconds);
        ++count;
    }
    if (count == 0) {
        printf("  %-28s no samples\n", label);
        return;
    }
    printf("  %-28s %6zu samples, mean %8.3f ms, worst %8.3f ms\n", label, count, 1000 * total / count,
           1000 * worst);
}

void PrintBands(const std::vector<Sample>& samples)
{
    PrintBand("control below 1 M chars:", samples, 0, 1000000);
    PrintBand("control 1-4 M chars:", samples, 1000000, 4000000);
    PrintBand("control 4 M chars and more:", samples, 4000000, 0x7FFFFFFF);
}

// Lines of a typical width, numbered so that none repeats.
std::string LinesOfAbout(size_t bytes)
{
    std::string text;
    text.reserve(bytes + 128);
    char line[96];
    for (int i = 1; text.size() < bytes; ++i) {
        snprintf(line, sizeof line, "line %7d: the quick brown fox jumps over the lazy dog 0123456789\r\n", i);
        text += line;
    }
    return text;
}

// The child of the real run.
int WriteLines(size_t bytes)
{
    const std::string text = LinesOfAbout(bytes);
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

void BenchAppendPath(size_t bytes)
{
    printf("Append path: %zu bytes of lines in %zu-byte pieces into a hidden console\n", bytes, kChunk);
    FakeConsoleDlg console;
    console.textMode = true;
    if (!console.Create()) {
        printf("  could not create the console window\n");
        return;
    }
    const std::string text = LinesOfAbout(bytes);
    std::vector<Sample> samples;
    const double start = Now();
    for (size_t offset = 0; offset < text.size(); offset += kChunk) {
        const long before = console.outputCtrl.GetTextLength();
        const double pieceStart = Now();
        console.AppendOutput(text.substr(offset, kChunk));
        samples.push_back({ before, Now() - pieceStart });
    }
    const double seconds = Now() - start;
    printf("  total %.2f s, %.0f bytes/s, control holds %ld chars\n", seconds, text.size() / seconds,
           console.outputCtrl.GetTextLength());
    PrintBands(samples);
}

// The real window, with every timer tick timed.
class TimedConsole : public FakeConsoleDlg {
public:
    std::vector<Sample> ticks;
    double completedAt = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_TIMER)
            return FakeConsoleDlg::WindowProc(message, wParam, lParam);
        const long before = outputCtrl.GetTextLength();
        const double start = Now();
        const LRESULT result = FakeConsoleDlg::WindowProc(message, wParam, lParam);
        ticks.push_back({ before, Now() - start });
        if (timerId == 0 && completedAt == 0) {
            completedAt = Now();
            EndDialog(IDOK);
        }
        return result;
    }
};

void BenchRealRun(size_t bytes)
{
    ProcessRunner runner;
    TimedConsole console;
    console.runner = &runner;
    console.command = "\"" + OwnPath() + "\" --write-lines " + std::to_string(bytes);
    printf("Real run: %s\n", console.command.c_str());
    const double start = Now();
    console.DoModal();
    if (console.completedAt == 0) {
        printf("  the run did not complete\n");
        return;
    }
    const double seconds = console.completedAt - start;
    const size_t outputBytes = LinesOfAbout(bytes).size();
    printf("  %zu bytes of output, %zu ticks, %.2f s to the exit banner, %.0f bytes/s\n", outputBytes,
           console.ticks.size(), seconds, outputBytes / seconds);
    PrintBands(console.ticks);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--write-lines")
        return WriteLines(static_cast<size_t>(atof(argv[2])));
    const double megabytes = argc > 1 ? atof(argv[1]) : 10.0;
    const size_t bytes = static_cast<size_t>(megabytes * 1000 * 1000);
    if (::LoadLibraryA("RICHED20.DLL") == nullptr) {
        printf("RICHED20.DLL is missing\n");
        return 1;
    }
    const std::string part = argc > 2 ? argv[2] : "";
    SetDiagSink([](const std::string&) {});  // the runner's and console's trace lines
    if (part != "run")
        BenchAppendPath(bytes);
    if (part != "append")
        BenchRealRun(bytes);
    return 0;
}
