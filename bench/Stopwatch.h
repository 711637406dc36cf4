#pragma once

#include <windows.h>

// Wall-clock intervals from the performance counter, in milliseconds.
class Stopwatch {
public:
    Stopwatch()
    {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        ticksPerMillisecond = static_cast<double>(frequency.QuadPart) / 1000.0;
        Restart();
    }

    void Restart() { QueryPerformanceCounter(&start); }

    double ElapsedMs() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start.QuadPart) / ticksPerMillisecond;
    }

private:
    double ticksPerMillisecond = 1.0;
    LARGE_INTEGER start = {};
};
