#pragma once
#include <vector>

namespace korvex {

// Sound on its way to a voice slot: mono samples in -1..1 at `rate` Hz.
struct Sound {
    std::vector<float> samples;
    int rate = 0;

    double Seconds() const { return rate > 0 ? static_cast<double>(samples.size()) / rate : 0.0; }
};

}  // namespace korvex
