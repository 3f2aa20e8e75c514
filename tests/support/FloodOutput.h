#pragma once
// A flood of output as a busy command writes it, and what a console shows
// for it. Shared by the test child, which writes it, and the console test,
// which compares the display. Numbered lines, progress lines updated by
// carriage returns, empty lines and line-feed-only line ends; written in
// pieces of pseudo-random size, so that the pipe cuts it at every kind of
// place (inside a line, between a carriage return and its line feed, right
// after a progress update).

#include <cstdint>
#include <string>
#include <vector>

struct FloodOutput {
    std::string written;  // the bytes, in order
    std::string shown;    // the display, lines ended by '\n'
};

inline FloodOutput MakeFloodOutput(size_t bytes)
{
    FloodOutput flood;
    for (int i = 1; flood.written.size() < bytes; ++i) {
        const std::string number = std::to_string(i);
        switch (i % 7) {
        case 0: {
            std::string last;
            for (int step = 1; step <= 4; ++step) {
                last = "progress " + number + ": " + std::to_string(step * 25) + "%";
                flood.written += "\r" + last;
            }
            flood.written += "\r\n";
            flood.shown += last + "\n";
            break;
        }
        case 3:
            flood.written += "lf-only line " + number + "\n";
            flood.shown += "lf-only line " + number + "\n";
            break;
        case 5:
            flood.written += "\r\n";
            flood.shown += "\n";
            break;
        default: {
            const std::string line = "line " + number + " " + std::string(static_cast<size_t>(i % 97), '.') + "|";
            flood.written += line + "\r\n";
            flood.shown += line + "\n";
            break;
        }
        }
    }
    return flood;
}

// Piece sizes from 1 to 6,000 bytes covering the whole text.
inline std::vector<size_t> FloodPieceSizes(size_t total)
{
    std::vector<size_t> sizes;
    uint32_t state = 12345;
    for (size_t done = 0; done < total;) {
        state = state * 1103515245u + 12345u;
        size_t size = 1 + (state >> 8) % 6000;
        if (size > total - done)
            size = total - done;
        sizes.push_back(size);
        done += size;
    }
    return sizes;
}
