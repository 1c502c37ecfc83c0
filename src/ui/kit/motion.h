#pragma once

// Timing curves of the views' animations, as plain functions of progress from 0 to 1.
namespace Motion {

// The widget's morph of sizes: a spring of response 0.38 s and damping fraction 0.84.
constexpr int morphMs = 560;
// Ease-out (cubic Bézier 0, 0, 0.58, 1).
double easeOut(double progress);
// The morph spring over morphMs: starts at 0, overshoots by under 1 %, ends exactly at 1.
double morph(double progress);

} // namespace Motion
