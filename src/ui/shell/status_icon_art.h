#pragma once

#include "ui/shell/status_icon_look.h"

#include <QColor>
#include <QImage>

// The status item's picture, painted by our own code so it looks the same in every icon theme: a
// white symbol on the brand's tile, which turns to the recording tint while listening.
namespace StatusIconArt {
// 24 x 18 logical pixels with the badge, 18 x 18 without, at the given device pixel ratio.
QImage draw(const StatusIconLook& look, qreal scale = 1.0);
// The recording tint.
QColor tint();
} // namespace StatusIconArt
