#pragma once

#include "ui/kit/shadow_caster.h"

#include <QMargins>

class QPainter;

// Paints the shadow of a rounded rectangle from one blurred picture per look and colour: the
// picture's corners are drawn as they are and its straight middle is stretched along the edges, so
// a card that changes its size frame by frame never blurs again. The colour's opacity is applied
// when painting, so a shadow fading in or out uses the same picture too.
namespace ShadowArt {

// How far the shadow of look reaches past its shape on each side.
QMargins reach(const ShadowLook& look);
void paint(QPainter& painter, const QRectF& shape, const ShadowLook& look);
// The pictures blurred so far and still kept.
int cachedCount();

} // namespace ShadowArt
