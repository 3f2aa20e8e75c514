#include "lint/LintOptions.h"

#include <algorithm>
#include <string>

#include "lint/FormCheck.h"

const char kLintUsage[] =
    "Usage: tavrel-lint [OPTIONS] FILE...\n"
    "       tavrel-lint [OPTIONS] --model FILE\n"
    "       tavrel-lint [OPTIONS] --command FILE [NAME[=VALUE]]...\n"
    "Checks form definition files as Tavrel reads them and prints one line per\n"
    "finding: FILE:LINE: error|warning: MESSAGE [NAME].\n"
    "\n"
    "  --disable NAME   leave out warning NAME (repeat, or NAME,NAME)\n"
    "  --warnings-ok    exit 0 when there are warnings but no errors\n"
    "  --list-warnings  list the warning names and what they mean\n"
    "  --model          print the parsed form as JSON\n"
    "  --command        print the command line Run would execute with these\n"
    "                   values: NAME=VALUE fills a field or a radio button's\n"
    "                   own box, NAME alone ticks a checkbox or radio button or\n"
    "                   presses an action button; NAME is a flag or a label.\n"
    "                   Every argument after FILE is such a pair.\n"
    "  --expand         replace environment references (%NAME%) in that line\n"
    "  --run-batch      run {{batch gui}} scripts as Tavrel does (Windows)\n"
    "  --timeout SECONDS  end such a script, and all it started, after this\n"
    "                   long (default 60); the file then counts as an error\n"
    "  --help           show this text\n"
    "\n"
    "Exit status: 0 clean, 1 warnings but no errors, 2 errors, an unreadable\n"
    "file or a wrong command line.\n";

namespace {

bool IsKnownWarning(const std::string& name)
{
    const auto& kinds = WarningKinds();
    return std::any_of(kinds.begin(), kinds.end(), [&](const WarningKind& k) { return name == k.name; });
}

// A day: the limit is there to end scripts that never would.
constexpr int kMaxTimeoutSeconds = 86400;

bool ParseSeconds(const std::string& text, int& seconds)
{
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    seconds = std::stoi(text);
    return seconds >= 1 && seconds <= kMaxTimeoutSeconds;
}

}  // namespace

bool ParseLintOptions(const std::vector<std::string>& args, LintOptions& options, std::string& error)
{
    bool onlyFiles = false;
    bool timeoutGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            options.files.push_back(arg);
            if (options.command) {
                // Everything after the form is a NAME=VALUE pair, dashes and all.
                options.assignments.assign(args.begin() + static_cast<long>(i) + 1, args.end());
                break;
            }
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "--disable") {
            if (++i == args.size()) {
                error = "--disable needs a warning name";
                return false;
            }
            std::string names = args[i] + ",";
            for (size_t at = 0, comma; (comma = names.find(',', at)) != std::string::npos; at = comma + 1) {
                std::string name = names.substr(at, comma - at);
                if (name.empty())
                    continue;
                if (!IsKnownWarning(name)) {
                    error = "unknown warning name '" + name + "' (see --list-warnings)";
                    return false;
                }
                options.disabled.push_back(name);
            }
        } else if (arg == "--warnings-ok") {
            options.warningsOk = true;
        } else if (arg == "--model") {
            options.model = true;
        } else if (arg == "--command") {
            options.command = true;
        } else if (arg == "--expand") {
            options.expand = true;
        } else if (arg == "--run-batch") {
            options.runBatch = true;
        } else if (arg == "--timeout") {
            if (++i == args.size() || !ParseSeconds(args[i], options.batchTimeoutSeconds)) {
                error = "--timeout needs a whole number of seconds from 1 to " + std::to_string(kMaxTimeoutSeconds);
                return false;
            }
            timeoutGiven = true;
        } else if (arg == "--list-warnings") {
            options.listWarnings = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
    }
    if (options.help || options.listWarnings)
        return true;
    if (options.model && options.command) {
        error = "--model and --command do not go together";
        return false;
    }
    if (options.files.empty()) {
        error = "no form file given";
        return false;
    }
    if ((options.model || options.command) && options.files.size() != 1) {
        error = std::string(options.model ? "--model" : "--command") + " takes exactly one form file";
        return false;
    }
    if (options.expand && !options.command) {
        error = "--expand goes with --command";
        return false;
    }
    if (timeoutGiven && !options.runBatch) {
        error = "--timeout goes with --run-batch";
        return false;
    }
#if !defined(_WIN32)
    if (options.runBatch) {
        error = "--run-batch needs Windows: {{batch gui}} scripts run through its command interpreter";
        return false;
    }
#endif
    return true;
}
