#include "ui/kit/motion.h"

#include <QEasingCurve>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <numbers>

double Motion::easeOut(double progress)
{
    static const QEasingCurve curve = [] {
        QEasingCurve c(QEasingCurve::BezierSpline);
        c.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
        return c;
    }();
    return curve.valueForProgress(std::clamp(progress, 0.0, 1.0));
}

double Motion::easeInOut(double progress)
{
    static const QEasingCurve curve = [] {
        QEasingCurve c(QEasingCurve::BezierSpline);
        c.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
        return c;
    }();
    return curve.valueForProgress(std::clamp(progress, 0.0, 1.0));
}

namespace {

// A damped spring from 0 to 1 read over a fixed duration; it is cut to exactly 1 at the end, where
// it has settled to well under a thousandth.
double spring(double progress, double response, double damping, int durationMs)
{
    if (!(progress < 1))
        return 1;
    if (!(progress > 0))
        return 0;
    const double omega = 2 * std::numbers::pi / response;
    const double omegaD = omega * std::sqrt(1 - damping * damping);
    const double t = progress * durationMs / 1000.0;
    const double decay = std::exp(-damping * omega * t);
    return 1 - decay * (std::cos(omegaD * t) + damping * omega / omegaD * std::sin(omegaD * t));
}

} // namespace

double Motion::morph(double progress)
{
    return spring(progress, 0.38, 0.84, morphMs);
}

double Motion::toggle(double progress)
{
    return spring(progress, 0.22, 0.85, toggleMs);
}

double Motion::toast(double progress)
{
    return spring(progress, 0.34, 0.86, toastMs);
}

double Motion::expand(double progress)
{
    return spring(progress, 0.25, 0.85, expandMs);
}

double Motion::remove(double progress)
{
    return spring(progress, 0.5, 0.85, removeMs);
}

double Motion::select(double progress)
{
    return spring(progress, 0.2, 0.85, selectMs);
}
