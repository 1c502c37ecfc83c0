#pragma once

#include "ui/kit/tween.h"

class QWidget;

// Takes a widget out of its layout and off the screen: the gap it leaves closes on the clock while
// the widget fades and is cut off, its contents staying put; then it goes. Without animations, or
// hidden, it goes at once.
namespace FoldAway {

// A second start while it folds changes nothing.
void start(QWidget& widget, Clock& clock, int durationMs, Tween::Curve curve);

} // namespace FoldAway
