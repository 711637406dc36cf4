#include "bench/Sample.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

int CompareDoubles(const void* a, const void* b)
{
    const double x = *static_cast<const double*>(a);
    const double y = *static_cast<const double*>(b);
    return (x > y) - (x < y);
}

// The indices of every resample: one fixed sequence (xorshift32, enough to
// pick indices evenly), so that samples of one size are resampled alike.
class Draws {
public:
    int Next(int count)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<int>(state % static_cast<unsigned int>(count));
    }

private:
    unsigned int state = 0x9E3779B9u;
};

constexpr int resamples = 1000;

} // namespace

double Sample::Quantile(double q) const
{
    if (count == 0)
        return 0.0;
    double sorted[capacity];
    memcpy(sorted, values, sizeof(double) * count);
    qsort(sorted, count, sizeof(double), CompareDoubles);
    const double position = q * (count - 1);
    const int below = static_cast<int>(position);
    if (below >= count - 1)
        return sorted[count - 1];
    const double fraction = position - below;
    return sorted[below] + (sorted[below + 1] - sorted[below]) * fraction;
}

void Sample::MedianInterval(double& low, double& high) const
{
    low = high = 0.0;
    if (count == 0)
        return;
    static_assert(resamples <= capacity, "the medians of the resamples form a sample");
    Sample medians;
    Sample resample;
    Draws draws;
    for (int r = 0; r < resamples; ++r) {
        resample.count = 0;
        for (int i = 0; i < count; ++i)
            resample.Add(values[draws.Next(count)]);
        medians.Add(resample.Median());
    }
    low = medians.Quantile(0.025);
    high = medians.Quantile(0.975);
}

double Sample::RatioOfMedians(const Sample& numerator, const Sample& denominator, const Sample& floor,
                              double& low, double& high)
{
    low = high = 0.0;
    const int count = floor.count;
    if (count == 0 || numerator.count != count || denominator.count != count)
        return 0.0;
    const auto ratio = [](const Sample& n, const Sample& d, const Sample& f) {
        const double below = d.Median() - f.Median();
        return below > 0.0 ? (n.Median() - f.Median()) / below : 0.0;
    };
    Sample ratios;
    Sample n;
    Sample d;
    Sample f;
    Draws draws;
    for (int r = 0; r < resamples; ++r) {
        n.count = d.count = f.count = 0;
        for (int i = 0; i < count; ++i) {
            const int round = draws.Next(count);
            n.Add(numerator.values[round]);
            d.Add(denominator.values[round]);
            f.Add(floor.values[round]);
        }
        if (d.Median() > f.Median())
            ratios.Add(ratio(n, d, f));
    }
    low = ratios.Quantile(0.025);
    high = ratios.Quantile(0.975);
    return ratio(numerator, denominator, floor);
}

void Sample::Print(const char* label) const
{
    printf("%-34s n=%-4d median %8.3f ms  q1 %8.3f  q3 %8.3f  p90 %8.3f  min %8.3f  max %8.3f\n", label, count,
           Median(), Quantile(0.25), Quantile(0.75), Quantile(0.9), Min(), Max());
}
