#pragma once

// The widget's size classes, ordered: a larger value is a larger panel.
enum class OverlayMode { Collapsed = 0, Bar = 1, Menu = 2, Result = 3 };
