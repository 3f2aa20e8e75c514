#pragma once
// Bytes handed from a reader thread to whoever shows them, as plain
// threading logic (no windows, no pipes).
//
// The reader puts what it read; when the queue holds its capacity, the
// reader waits, so memory stays bounded however fast the writer is. The
// taker takes what has arrived without waiting. When nobody will take any
// more (the window closed), the queue is abandoned: what it holds and
// everything put later is dropped at once, so the reader keeps reading and
// whoever writes into the pipe never waits for a window that is gone.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

class OutputQueue {
public:
    explicit OutputQueue(size_t capacity);

    // Reader side. Waits while the queue is full (unless abandoned).
    void Put(const char* data, size_t size);
    // The reader has reached the end of the output.
    void Finish();

    // Taker side. Moves at most `maxBytes` into `out` (emptied first).
    // False once the output has ended and everything was taken.
    bool Take(std::string& out, size_t maxBytes);
    // Waits up to `milliseconds` for bytes or the end; true when either is there.
    bool WaitForOutput(unsigned milliseconds);
    // Waits up to `milliseconds` for the end of the output.
    bool WaitForEnd(unsigned milliseconds);
    // Nobody takes any more: drops what is held and all that follows.
    void Abandon();

    size_t Queued() const;
    // The most bytes held at once so far.
    size_t PeakQueued() const;

private:
    mutable std::mutex mutex;
    std::condition_variable roomOrAbandoned;
    std::condition_variable outputOrEnd;
    std::deque<std::string> pieces;
    size_t frontTaken = 0;  // bytes of pieces.front() already taken
    size_t queued = 0;
    size_t peak = 0;
    const size_t capacity;
    bool finished = false;
    bool abandoned = false;
};
