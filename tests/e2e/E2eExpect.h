#pragma once
// Checks on what the program printed, for end-to-end tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {

// Every line appears in the output, in this order (other text may lie
// between). On failure names the first line missing and shows the output.
inline ::testing::AssertionResult ContainsInOrder(const std::string& output, const std::vector<std::string>& lines)
{
    size_t from = 0;
    for (const std::string& line : lines) {
        size_t at = output.find(line, from);
        if (at == std::string::npos)
            return ::testing::AssertionFailure() << "missing or out of order: [" << line << "]\n--- output ---\n"
                                                 << output;
        from = at + line.size();
    }
    return ::testing::AssertionSuccess();
}

inline bool Contains(const std::string& output, const std::string& text)
{
    return output.find(text) != std::string::npos;
}

}  // namespace e2e
