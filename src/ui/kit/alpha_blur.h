#pragma once

class QImage;

namespace AlphaBlur {

// Blurs an 8-bit alpha image in place with a Gaussian of sigma pixels (three box passes each way);
// what lies outside the image counts as clear.
void gaussian(QImage& alpha, double sigma);

} // namespace AlphaBlur
