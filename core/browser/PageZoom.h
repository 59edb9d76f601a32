#pragma once

namespace plintor {

// The page zoom a visitor chooses with the panel's buttons, in percent: steps of 25 points on
// the grid through 100 %, within the operator's bounds. A bound off the grid is a step of its
// own, and the next step from it lands on the grid again, so 100 % can always be reached.
class PageZoom {
public:
    static constexpr int StepPercent = 25;
    static constexpr int NormalPercent = 100;

    // Bounds that would leave out 100 % (or reach zero) are moved to take it in.
    PageZoom(int minPercent, int maxPercent);

    int percent() const { return m_percent; }
    bool canZoomIn() const { return m_percent < m_max; }
    bool canZoomOut() const { return m_percent > m_min; }
    // One step; nothing at the bound.
    void zoomIn();
    void zoomOut();
    void reset() { m_percent = NormalPercent; }

private:
    int m_min;
    int m_max;
    int m_percent = NormalPercent;
};

}  // namespace plintor
