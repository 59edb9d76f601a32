#include "widgets/ScreenMetrics.h"

#include <QScreen>
#include <QtMath>

#include "core/support/ScreenScale.h"

namespace plintor {

TScreenMetrics::TScreenMetrics(const QScreen& screen)
    : FPixelsPerInch(qRound(screen.logicalDotsPerInch() * screen.devicePixelRatio())),
      FDevicePixelRatio(screen.devicePixelRatio()) {}

int TScreenMetrics::Scaled(int designValue) const {
    return FromScreenPixels(ScaleValue(designValue, FPixelsPerInch));
}

int TScreenMetrics::FromScreenPixels(int screenPixels) const {
    return qRound(screenPixels / FDevicePixelRatio);
}

}  // namespace plintor
