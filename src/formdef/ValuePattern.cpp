#include "formdef/ValuePattern.h"

#include <pthread.h>

#include <exception>
#include <regex>

namespace {

// Compiling can throw regex_error, and also bad_alloc for a pattern the
// library cannot represent.
bool Compile(const std::string& pattern, std::regex& compiled, std::string& why)
{
    try {
        compiled.assign(pattern, std::regex::ECMAScript);
        return true;
    } catch (const std::exception& error) {
        why = error.what();
        if (why.empty())
            why = "not a regular expression";
        return false;
    }
}

struct MatchJob {
    const std::regex* compiled;
    const std::string* value;
    PatternCheck result = PatternCheck::DoesNotMatch;
};

void* RunMatch(void* argument)
{
    MatchJob& job = *static_cast<MatchJob*>(argument);
    try {
        job.result = std::regex_match(*job.value, *job.compiled) ? PatternCheck::Matches : PatternCheck::DoesNotMatch;
    } catch (const std::exception&) {
        // error_complexity or error_stack: the value is not shown to match.
        job.result = PatternCheck::DoesNotMatch;
    }
    return nullptr;
}

// On a thread with a deep stack; on the caller's own when none can be made.
PatternCheck MatchWithDeepStack(const std::regex& compiled, const std::string& value)
{
    MatchJob job{ &compiled, &value };
    pthread_attr_t attributes;
    pthread_t thread;
    bool ran = false;
    if (pthread_attr_init(&attributes) == 0) {
        if (pthread_attr_setstacksize(&attributes, kPatternStackBytes) == 0 &&
            pthread_create(&thread, &attributes, RunMatch, &job) == 0)
            ran = pthread_join(thread, nullptr) == 0;
        pthread_attr_destroy(&attributes);
    }
    if (!ran)
        RunMatch(&job);
    return job.result;
}

}  // namespace

std::string PatternError(const std::string& pattern)
{
    std::regex compiled;
    std::string why;
    return Compile(pattern, compiled, why) ? std::string() : why;
}

PatternCheck CheckPattern(const std::string& pattern, const std::string& value)
{
    if (value.size() > kMaxPatternValue)
        return PatternCheck::TooLong;
    std::regex compiled;
    std::string why;
    if (!Compile(pattern, compiled, why))
        return PatternCheck::DoesNotMatch;
    return MatchWithDeepStack(compiled, value);
}
