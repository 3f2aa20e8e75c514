// Parse speed of a large form definition: 1,600 control lines of mixed
// kinds, half of them in one radio group (about as many as fit in the
// windows a form may have), from memory and from a file.
// Prints figures; sets no limits. A second table parses growing sizes so a
// reader can see that the time per line stays flat (the parse is linear).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "formdef/FormModel.h"
#include "formdef/LineReader.h"

namespace {

const int kRuns = 7;

// Returns the text and, through `lines`, the number of control lines in it.
std::string MakeForm(int controlLines, int& lines)
{
    std::string text = "%ToolsDir%\\bench.exe --fixed\r\nA generated form for timing the parser.\r\n";
    const int groupMembers = controlLines / 2;
    lines = 0;
    text += "{{radiostart required}}\r\n";
    for (int i = 0; i < groupMembers; ++i, ++lines) {
        if (i % 10 == 0)
            text += "--level" + std::to_string(i) + " {{number}} Level " + std::to_string(i) + "\r\n";
        else
            text += "--choice" + std::to_string(i) + " Choice number " + std::to_string(i) + "\r\n";
    }
    text += "{{radioend}}\r\n\r\n";
    lines += 2;
    const char* const others[] = {
        "-v%d Verbose output %d",
        "{{required file}} Input file %d",
        "-o%d {{required newfile}} Output %d",
        "\"--name %d\" {{text}} Quoted flag with a type",
        "{{drive}} -d%d Target drive",
        "{{button --list%d}} List contents",
        "'' {{dir}} Positional folder %d",
        "-x%d {{filedir}} A label with {{braces}} and %d",
    };
    const size_t kinds = sizeof others / sizeof others[0];
    char line[128];
    for (int i = 0; lines < controlLines; ++i, ++lines) {
        snprintf(line, sizeof line, others[i % kinds], i, i);
        text += line;
        text += "\r\n";
    }
    return text;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Parse>
std::vector<double> TimeRuns(Parse parse)
{
    std::vector<double> seconds;
    for (int run = 0; run < kRuns; ++run) {
        CFormModel model;
        auto start = std::chrono::steady_clock::now();
        bool parsed = parse(model);
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!parsed) fprintf(stderr, "parse failed\n");
        seconds.push_back(elapsed.count());
    }
    return seconds;
}

void PrintRate(const char* source, int lines, const std::vector<double>& seconds)
{
    double best = *std::min_element(seconds.begin(), seconds.end());
    printf("%-14s %8d lines  best %10.0f lines/s  median %10.0f lines/s  (%d runs)\n", source, lines,
           lines / best, lines / Median(seconds), kRuns);
}

bool ParseTextForm(CFormModel& model, const std::string& text)
{
    LineReader reader(text);
    return model.ParseLines(reader);
}

}  // namespace

int main()
{
    SetDiagSink([](const std::string&) {});

    int lines = 0;
    std::string text = MakeForm(1600, lines);
    printf("Form definition: %d control lines, %zu bytes, one radio group of %d members\n\n", lines,
           text.size(), lines / 2);

    PrintRate("text mode", lines, TimeRuns([&](CFormModel& model) { return ParseTextForm(model, text); }));

    std::string path = (std::filesystem::temp_directory_path() / "tavrel-parse-bench.gui").string();
    if (FILE* file = fopen(path.c_str(), "wb")) {
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
        PrintRate("file mode", lines, TimeRuns([&](CFormModel& model) { return model.ParseFile(path); }));
        remove(path.c_str());
    } else {
        printf("file mode: could not write %s\n", path.c_str());
    }

    printf("\nScaling (text mode, median; a linear parse keeps ns/line flat):\n");
    for (int size : {200, 400, 800, 1600}) {
        int sizeLines = 0;
        std::string sized = MakeForm(size, sizeLines);
        double median = Median(TimeRuns([&](CFormModel& model) { return ParseTextForm(model, sized); }));
        printf("  %7d lines  %8.2f ms  %7.1f ns/line\n", sizeLines, median * 1e3, median * 1e9 / sizeLines);
    }
    SetDiagSink(nullptr);
    return 0;
}
