#pragma once
// Bytes as upper-case hex digits, two a byte: how the test child reports
// text whose bytes a test compares exactly, whatever shows it.

#include <string>

inline std::string HexBytes(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}
