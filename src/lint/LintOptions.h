#pragma once
// The command line of tavrel-lint, read by hand: a few flags, file names,
// and for --command the form and its NAME=VALUE pairs.

#include <string>
#include <vector>

// How long a {{batch gui}} script may run under --run-batch by default:
// nobody is there to stop one that loops.
constexpr int kDefaultBatchTimeoutSeconds = 60;

struct LintOptions {
    std::vector<std::string> files;
    std::vector<std::string> disabled;     // warning names
    std::vector<std::string> assignments;  // --command: NAME=VALUE or NAME
    bool model = false;
    bool command = false;
    bool expand = false;
    bool runBatch = false;
    int batchTimeoutSeconds = kDefaultBatchTimeoutSeconds;
    bool warningsOk = false;
    bool help = false;
    bool listWarnings = false;
};

// False with `error` set when the arguments make no sense.
bool ParseLintOptions(const std::vector<std::string>& args, LintOptions& options, std::string& error);

extern const char kLintUsage[];
