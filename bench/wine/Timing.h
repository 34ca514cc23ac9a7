#pragma once
// Timing for the benchmarks of the built plug-ins under Wine.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

inline double Now()
{
    static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

// Median over the rounds of the time per file, in microseconds.
template <typename F>
double PerFile(const std::vector<std::string>& files, int rounds, F&& body)
{
    std::vector<double> samples;
    for (int r = 0; r < rounds; ++r) {
        const double start = Now();
        for (const std::string& f : files) body(f);
        samples.push_back((Now() - start) / double(files.size()));
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2] * 1e6;
}
