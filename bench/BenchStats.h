#pragma once

#include <algorithm>
#include <vector>

// The median of the times measured: a round disturbed by the shared machine moves it
// less than it moves the mean, and unlike the best round it says what a user waits.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// What a user must not wait for: one frame of a 60 Hz screen.
constexpr const char *FrameTarget = "< 16.7 ms";
