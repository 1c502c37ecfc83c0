#include "ui/kit/alpha_blur.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// Box widths whose three passes approximate a Gaussian of sigma (the usual three-box method).
std::array<int, 3> boxesFor(double sigma)
{
    const double ideal = std::sqrt(12 * sigma * sigma / 3 + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double m =
        std::round((12 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9) / (-4.0 * lower - 4));
    std::array<int, 3> boxes{};
    for (int i = 0; i < 3; ++i)
        boxes[static_cast<std::size_t>(i)] = i < m ? lower : upper;
    return boxes;
}

// One box pass along rows (step 1) or columns (step = stride) of an 8-bit alpha plane.
void boxPass(std::vector<quint8>& from, std::vector<quint8>& to, int lines, int length, int lineStep,
             int step, int radius)
{
    const int width = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        const qsizetype base = static_cast<qsizetype>(line) * lineStep;
        auto at = [&](int i) -> int {
            if (i < 0 || i >= length)
                return 0;
            return from[static_cast<std::size_t>(base + static_cast<qsizetype>(i) * step)];
        };
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += at(i);
        for (int i = 0; i < length; ++i) {
            to[static_cast<std::size_t>(base + static_cast<qsizetype>(i) * step)] =
                static_cast<quint8>((sum + width / 2) / width);
            sum += at(i + radius + 1) - at(i - radius);
        }
    }
}

} // namespace

void AlphaBlur::gaussian(QImage& alpha, double sigma)
{
    if (sigma < 0.2)
        return;
    const int w = alpha.width();
    const int h = alpha.height();
    std::vector<quint8> a(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        std::copy_n(alpha.constScanLine(y), w, a.begin() + static_cast<qsizetype>(y) * w);
    std::vector<quint8> b(a.size());
    for (const int box : boxesFor(sigma)) {
        const int radius = (box - 1) / 2;
        boxPass(a, b, h, w, w, 1, radius);
        boxPass(b, a, w, h, 1, w, radius);
    }
    for (int y = 0; y < h; ++y)
        std::copy_n(a.begin() + static_cast<qsizetype>(y) * w, w, alpha.scanLine(y));
}

QImage AlphaBlur::roundedRect(QSize device, double ratio, const QRectF& shape, double corner, double sigma)
{
    QImage alpha(device, QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter p(&alpha);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(ratio, ratio);
        QPainterPath path;
        path.addRoundedRect(shape, corner, corner);
        p.fillPath(path, Qt::black);
    }
    gaussian(alpha, sigma);
    return alpha;
}
