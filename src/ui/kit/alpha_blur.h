#pragma once

class QImage;
class QRectF;
class QSize;

namespace AlphaBlur {

// Blurs an 8-bit alpha image in place with a Gaussian of sigma pixels (three box passes each way);
// what lies outside the image counts as clear.
void gaussian(QImage& alpha, double sigma);

// A rounded rectangle (in logical pixels) filled into a clear alpha image of `device` pixels at
// `ratio` device pixels a logical one, then blurred as above.
QImage roundedRect(QSize device, double ratio, const QRectF& shape, double corner, double sigma);

} // namespace AlphaBlur
