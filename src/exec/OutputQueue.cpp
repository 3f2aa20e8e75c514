#include "exec/OutputQueue.h"

#include <algorithm>
#include <chrono>

OutputQueue::OutputQueue(size_t capacityBytes) : capacity(std::max<size_t>(1, capacityBytes)) {}

void OutputQueue::Put(const char* data, size_t size)
{
    if (size == 0)
        return;
    std::unique_lock<std::mutex> lock(mutex);
    // A piece larger than the whole capacity still goes in once the queue
    // is empty; nothing waits for ever.
    roomOrAbandoned.wait(lock, [&] { return abandoned || queued == 0 || queued + size <= capacity; });
    if (abandoned)
        return;
    pieces.emplace_back(data, size);
    queued += size;
    peak = std::max(peak, queued);
    outputOrEnd.notify_all();
}

void OutputQueue::Finish()
{
    std::lock_guard<std::mutex> lock(mutex);
    finished = true;
    outputOrEnd.notify_all();
}

bool OutputQueue::Take(std::string& out, size_t maxBytes)
{
    out.clear();
    std::lock_guard<std::mutex> lock(mutex);
    while (!pieces.empty() && out.size() < maxBytes) {
        const std::string& front = pieces.front();
        const size_t count = std::min(front.size() - frontTaken, maxBytes - out.size());
        out.append(front, frontTaken, count);
        frontTaken += count;
        if (frontTaken == front.size()) {
            pieces.pop_front();
            frontTaken = 0;
        }
    }
    queued -= out.size();
    if (!out.empty())
        roomOrAbandoned.notify_all();
    return !out.empty() || !finished;
}

bool OutputQueue::WaitForOutput(unsigned milliseconds)
{
    std::unique_lock<std::mutex> lock(mutex);
    return outputOrEnd.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                [&] { return queued > 0 || finished; });
}

bool OutputQueue::WaitForEnd(unsigned milliseconds)
{
    std::unique_lock<std::mutex> lock(mutex);
    return outputOrEnd.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return finished; });
}

void OutputQueue::Abandon()
{
    std::lock_guard<std::mutex> lock(mutex);
    abandoned = true;
    pieces.clear();
    frontTaken = 0;
    queued = 0;
    roomOrAbandoned.notify_all();
}

size_t OutputQueue::Queued() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return queued;
}

size_t OutputQueue::PeakQueued() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return peak;
}
