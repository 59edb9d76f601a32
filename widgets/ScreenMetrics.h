#pragma once

#include <QtGlobal>

class QScreen;

namespace plintor {

// Design sizes are given at 96 pixels per inch; this turns them into the widget units of the
// screen the window is on, whether the toolkit scales by itself (device pixel ratio) or not.
class TScreenMetrics {
public:
    explicit TScreenMetrics(const QScreen& screen);

    // Physical pixels per inch, the figure the icon sizes are chosen by.
    int PixelsPerInch() const { return FPixelsPerInch; }
    // A design size in widget units.
    int Scaled(int designValue) const;
    // A size given in screen pixels (not scaled by the design rule) in widget units.
    int FromScreenPixels(int screenPixels) const;
    qreal DevicePixelRatio() const { return FDevicePixelRatio; }

private:
    int FPixelsPerInch;
    qreal FDevicePixelRatio;
};

}  // namespace plintor
