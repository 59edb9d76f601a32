#include "widgets/ScreenMetrics.h"

#include <gdk/gdk.h>

#include <algorithm>
#include <cmath>

#include "core/support/ScreenScale.h"

namespace plintor {
namespace {

// Across the monitor's width, in the pixels it really has.
int physicalPixelsPerInch(GdkMonitor* monitor) {
    GdkRectangle geometry{};
    gdk_monitor_get_geometry(monitor, &geometry);
    const int millimetres = gdk_monitor_get_width_mm(monitor);
    if (millimetres <= 0 || geometry.width <= 0) {
        return DesignPixelsPerInch;
    }
    const double pixels =
        static_cast<double>(geometry.width) * gdk_monitor_get_scale_factor(monitor);
    return static_cast<int>(std::lround(pixels * 25.4 / millimetres));
}

}  // namespace

ScreenMetrics::ScreenMetrics(GdkMonitor* monitor)
    : ScreenMetrics(physicalPixelsPerInch(monitor), gdk_monitor_get_scale_factor(monitor)) {}

ScreenMetrics::ScreenMetrics(int pixelsPerInch, int scaleFactor)
    : m_pixelsPerInch(pixelsPerInch), m_scaleFactor(std::max(1, scaleFactor)) {}

int ScreenMetrics::scaled(int designValue) const {
    return fromScreenPixels(scaleValue(designValue, m_pixelsPerInch));
}

int ScreenMetrics::fromScreenPixels(int screenPixels) const {
    return static_cast<int>(std::lround(static_cast<double>(screenPixels) / m_scaleFactor));
}

int ScreenMetrics::touchTarget() const {
    const int pixels = touchTargetPixels(m_pixelsPerInch);
    return (pixels + m_scaleFactor - 1) / m_scaleFactor;  // up: a unit is several pixels
}

}  // namespace plintor
