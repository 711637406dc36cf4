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

void Sample::Print(const char* label) const
{
    printf("%-34s n=%-4d median %8.3f ms  q1 %8.3f  q3 %8.3f  p90 %8.3f  min %8.3f  max %8.3f\n", label, count,
           Median(), Quantile(0.25), Quantile(0.75), Quantile(0.9), Min(), Max());
}
