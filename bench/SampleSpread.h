#pragma once
// Median, minimum, mean, 99th percentile and worst of a benchmark's samples; negative
// samples (failed measurements) are left out.

#include <algorithm>
#include <vector>

struct SampleSpread {
    size_t count = 0;
    double median = 0, minimum = 0, mean = 0, worst = 0;
    double p99 = 0;  // 99 of 100 samples are at most this
};

inline SampleSpread SpreadOf(std::vector<double> samples)
{
    samples.erase(std::remove_if(samples.begin(), samples.end(), [](double s) { return s < 0; }), samples.end());
    SampleSpread spread;
    spread.count = samples.size();
    if (samples.empty())
        return spread;
    std::sort(samples.begin(), samples.end());
    spread.median = samples[samples.size() / 2];
    spread.minimum = samples.front();
    spread.worst = samples.back();
    spread.p99 = samples[samples.size() * 99 / 100];
    double sum = 0;
    for (double s : samples)
        sum += s;
    spread.mean = sum / static_cast<double>(samples.size());
    return spread;
}
