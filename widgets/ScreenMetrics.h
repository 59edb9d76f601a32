#pragma once

#include <QtGlobal>

class QScreen;

namespace plintor {

// Design sizes are given at 96 pixels per inch; this turns them into the widget units of the
// screen the window is on, whether the toolkit scales by itself (device pixel ratio) or not.
class ScreenMetrics {
public:
    explicit ScreenMetrics(const QScreen& screen);

    // Physical pixels per inch, the figure the icon sizes are chosen by.
    int pixelsPerInch() const { return m_pixelsPerInch; }
    // A design size in widget units.
    int scaled(int designValue) const;
    // A size given in screen pixels (not scaled by the design rule) in widget units.
    int fromScreenPixels(int screenPixels) const;
    qreal devicePixelRatio() const { return m_devicePixelRatio; }

private:
    int m_pixelsPerInch;
    qreal m_devicePixelRatio;
};

}  // namespace plintor
