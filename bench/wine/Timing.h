#pragma once
// Timing for the benchmarks of the built plug-ins under Wine.
#include <windows.h>

#include <algorithm>
#include <vector>

inline double Now()
{
    static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

// Times of repeated calls; the median in microseconds.
class Samples {
public:
    template <typename F>
    void Time(F&& body)
    {
        const double start = Now();
        body();
        m_times.push_back(Now() - start);
    }
    double Median()
    {
        std::sort(m_times.begin(), m_times.end());
        return m_times[m_times.size() / 2] * 1e6;
    }

private:
    std::vector<double> m_times;
};
