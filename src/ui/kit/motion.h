#pragma once

// Timing curves of the views' animations, as plain functions of progress from 0 to 1.
namespace Motion {

// The widget's morph of sizes: a spring of response 0.38 s and damping fraction 0.84.
constexpr int morphMs = 560;
// The translate toggle's spring: response 0.22 s, damping fraction 0.85.
constexpr int toggleMs = 320;
// The saved toast's spring: response 0.34 s, damping fraction 0.86.
constexpr int toastMs = 500;
// Ease-out (cubic Bézier 0, 0, 0.58, 1).
double easeOut(double progress);
// The morph spring over morphMs: starts at 0, overshoots by under 1 %, ends exactly at 1.
double morph(double progress);
// The toggle spring over toggleMs, likewise ending exactly at 1.
double toggle(double progress);
// The toast spring over toastMs, likewise.
double toast(double progress);

} // namespace Motion
