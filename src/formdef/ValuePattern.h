#pragma once
// The check a {{pattern}} line asks for, with the standard library's
// regular expressions (ECMAScript syntax). Nothing here throws: a pattern
// that does not compile, or a match the library gives up on, is an answer.

#include <string>

// Empty when the pattern compiles; otherwise why it does not.
std::string PatternError(const std::string& pattern);

enum class PatternCheck {
    Matches,       // the whole value matches
    DoesNotMatch,  // also for a pattern that does not compile
    TooLong,       // the value is longer than the check takes on (kMaxPatternValue)
};
// The library's matcher recurses once per character matched (a few hundred
// bytes of stack each, measured: "(a|b)*" overflowed a 2 MB stack between
// 2,000 and 5,000 characters). The match therefore runs on a thread with a
// stack of its own (kPatternStackBytes), and longer values are not matched.
constexpr size_t kMaxPatternValue = 4096;
constexpr size_t kPatternStackBytes = 32u << 20;
PatternCheck CheckPattern(const std::string& pattern, const std::string& value);
