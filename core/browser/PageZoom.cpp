#include "core/browser/PageZoom.h"

#include <algorithm>

namespace plintor {
namespace {

// Whole steps from 100 % to `percent`, rounded towards minus infinity.
int stepsBelow(int percent) {
    const int offset = percent - PageZoom::NormalPercent;
    return offset >= 0 ? offset / PageZoom::StepPercent
                       : -((-offset + PageZoom::StepPercent - 1) / PageZoom::StepPercent);
}

// Whole steps from 100 % to `percent`, rounded towards plus infinity.
int stepsAbove(int percent) {
    return -stepsBelow(2 * PageZoom::NormalPercent - percent);
}

}  // namespace

PageZoom::PageZoom(int minPercent, int maxPercent)
    : m_min(std::clamp(minPercent, 1, NormalPercent)), m_max(std::max(maxPercent, NormalPercent)) {}

void PageZoom::zoomIn() {
    m_percent = std::min(NormalPercent + (stepsBelow(m_percent) + 1) * StepPercent, m_max);
}

void PageZoom::zoomOut() {
    m_percent = std::max(NormalPercent + (stepsAbove(m_percent) - 1) * StepPercent, m_min);
}

}  // namespace plintor
