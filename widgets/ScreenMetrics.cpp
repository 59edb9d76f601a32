#include "widgets/ScreenMetrics.h"

#include <QScreen>
#include <QtMath>

#include "core/support/ScreenScale.h"

namespace plintor {

ScreenMetrics::ScreenMetrics(const QScreen& screen)
    : m_pixelsPerInch(qRound(screen.logicalDotsPerInch() * screen.devicePixelRatio())),
      m_devicePixelRatio(screen.devicePixelRatio()) {}

int ScreenMetrics::scaled(int designValue) const {
    return fromScreenPixels(scaleValue(designValue, m_pixelsPerInch));
}

int ScreenMetrics::fromScreenPixels(int screenPixels) const {
    return qRound(screenPixels / m_devicePixelRatio);
}

}  // namespace plintor
