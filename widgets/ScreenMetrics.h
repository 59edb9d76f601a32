#pragma once

typedef struct _GdkMonitor GdkMonitor;

namespace plintor {

// The size of the window's text at 96 pixels per inch, where a control sets none of its own.
constexpr int WindowFontPixels = 11;

// Design sizes are given at 96 pixels per inch; this turns them into the widget units of the
// monitor the window is on, whether GTK scales by itself (its scale factor) or not.
class ScreenMetrics {
public:
    // From the monitor's millimetre size; a monitor that reports none counts as 96 pixels per
    // inch.
    explicit ScreenMetrics(GdkMonitor* monitor);
    ScreenMetrics(int pixelsPerInch, int scaleFactor);

    // Physical pixels per inch, the figure the icon sizes are chosen by.
    int pixelsPerInch() const { return m_pixelsPerInch; }
    // A design size in widget units.
    int scaled(int designValue) const;
    // A size given in screen pixels (not scaled by the design rule) in widget units.
    int fromScreenPixels(int screenPixels) const;
    // Screen pixels per widget unit (GTK's scale factor).
    int scaleFactor() const { return m_scaleFactor; }
    // The shortest side a control the visitor touches may have, in widget units: nine
    // millimetres on this screen, whatever its resolution.
    int touchTarget() const;

private:
    int m_pixelsPerInch;
    int m_scaleFactor;
};

}  // namespace plintor
