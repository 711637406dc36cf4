#pragma once

#include <stddef.h>

// A fixed-capacity set of measurements in milliseconds and the order
// statistics the benchmarks print. Adding past the capacity is ignored.
class Sample {
public:
    static constexpr int capacity = 1024;

    void Add(double value)
    {
        if (count < capacity)
            values[count++] = value;
    }

    int Count() const { return count; }
    // The i-th value added, in the order of adding.
    double Value(int i) const { return values[i]; }
    // The value below which the fraction q (0 to 1) of the sample lies,
    // interpolated between neighbours; 0 for an empty sample.
    double Quantile(double q) const;
    double Median() const { return Quantile(0.5); }
    double Min() const { return Quantile(0.0); }
    double Max() const { return Quantile(1.0); }

    // The 95% percentile bootstrap interval of the median: the median of
    // each of 1000 resamples drawn with replacement, and the 2.5% and 97.5%
    // quantiles of those. The draws come from a fixed seed and depend only
    // on the sample's size, so the same sample always gives the same
    // interval, and samples of one size that hold one value per round in
    // round order are resampled together, by whole rounds.
    void MedianInterval(double& low, double& high) const;

    // (median of numerator - median of floor) / (median of denominator -
    // median of floor), and its 95% percentile bootstrap interval from the
    // same draws as MedianInterval: the three samples hold one value per
    // round, in round order, all of one size, and every resample takes whole
    // rounds. 0 when a sample is empty or the sizes differ; a resample whose
    // denominator is not above its floor is left out of the interval.
    static double RatioOfMedians(const Sample& numerator, const Sample& denominator, const Sample& floor,
                                 double& low, double& high);

    // One line: median, quartiles, p90, min and max, prefixed by a label.
    void Print(const char* label) const;

private:
    double values[capacity] = {};
    int count = 0;
};
