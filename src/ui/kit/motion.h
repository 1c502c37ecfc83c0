#pragma once

// Timing curves of the views' animations, as plain functions of progress from 0 to 1.
namespace Motion {

// The widget's morph of sizes: a spring of response 0.38 s and damping fraction 0.84.
constexpr int morphMs = 560;
// The translate toggle's spring: response 0.22 s, damping fraction 0.85.
constexpr int toggleMs = 320;
// The saved toast's spring: response 0.34 s, damping fraction 0.86.
constexpr int toastMs = 500;
// A history row opening or closing its panel: response 0.25 s, damping fraction 0.85.
constexpr int expandMs = 360;
// A row or a card leaving its list: response 0.5 s, damping fraction 0.85.
constexpr int removeMs = 700;
// A style card taking or giving up the choice: response 0.2 s, damping fraction 0.85.
constexpr int selectMs = 300;
// The plain animation of a change that names no curve of its own: ease-in-out over 0.35 s.
constexpr int standardMs = 350;
// A card following the pointer in or out: ease-out over 0.15 s.
constexpr int hoverMs = 150;
// Ease-out (cubic Bézier 0, 0, 0.58, 1).
double easeOut(double progress);
// Ease-in-out (cubic Bézier 0.42, 0, 0.58, 1).
double easeInOut(double progress);
// The morph spring over morphMs: starts at 0, overshoots by under 1 %, ends exactly at 1.
double morph(double progress);
// The toggle spring over toggleMs, likewise ending exactly at 1.
double toggle(double progress);
// The toast spring over toastMs, likewise.
double toast(double progress);
// The springs over expandMs, removeMs and selectMs, likewise.
double expand(double progress);
double remove(double progress);
double select(double progress);

} // namespace Motion
