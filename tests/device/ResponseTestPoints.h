// Sample rate, grid and evaluation points shared by the response tests.
#pragma once

#include <initializer_list>
#include <vector>

#include "device/ResponseMath.h"

namespace response_test {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFs = 48000.0;
constexpr int kGridSize = 512;

inline std::vector<double> Grid() {
    std::vector<double> g(kGridSize);
    LogFrequencyGrid(kFs, kGridSize, g.data());
    return g;
}

// Evaluation points followed by the grid's Nyquist and sample-rate points,
// which the evaluation takes as its reference.
inline std::vector<double> Points(std::initializer_list<double> f) {
    std::vector<double> v(f);
    v.push_back(kFs / 2.0);
    v.push_back(kFs);
    return v;
}

}  // namespace response_test
