#include "core/browser/PageZoom.h"

#include <gtest/gtest.h>

#include <string>

namespace plintor {
namespace {

struct ZoomCase {
    const char* name;
    int minPercent;
    int maxPercent;
    std::string presses;  // '+' zooms in, '-' out, '0' resets
    int percent;
    bool canZoomIn;
    bool canZoomOut;
};

class PageZoomTest : public testing::TestWithParam<ZoomCase> {};

TEST_P(PageZoomTest, StepsWithinBounds) {
    const ZoomCase& row = GetParam();
    PageZoom zoom(row.minPercent, row.maxPercent);
    for (const char press : row.presses) {
        if (press == '+') {
            zoom.zoomIn();
        } else if (press == '-') {
            zoom.zoomOut();
        } else {
            zoom.reset();
        }
    }
    EXPECT_EQ(zoom.percent(), row.percent);
    EXPECT_EQ(zoom.canZoomIn(), row.canZoomIn);
    EXPECT_EQ(zoom.canZoomOut(), row.canZoomOut);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PageZoomTest,
    testing::Values(ZoomCase{"StartsAtNormal", 50, 300, "", 100, true, true},
                    ZoomCase{"OneStepIn", 50, 300, "+", 125, true, true},
                    ZoomCase{"OneStepOut", 50, 300, "-", 75, true, true},
                    ZoomCase{"OutStopsAtMinimum", 50, 300, "----", 50, true, false},
                    ZoomCase{"InStopsAtMaximum", 50, 300, "++++++++++", 300, false, true},
                    ZoomCase{"BackAndForthReturnsToNormal", 50, 300, "++-+--", 100, true, true},
                    ZoomCase{"ResetFromMaximum", 50, 300, "++++++++0", 100, true, true},
                    ZoomCase{"MinimumOffGridIsLastStep", 30, 300, "----", 30, true, false},
                    ZoomCase{"FromOffGridMinimumBackOnGrid", 30, 300, "---+", 50, true, true},
                    ZoomCase{"MaximumOffGridIsLastStep", 50, 310, "++++++++++", 310, false, true},
                    ZoomCase{"FromOffGridMaximumBackOnGrid", 50, 310, "++++++++++-", 300, true,
                             true},
                    ZoomCase{"BoundsAtNormalAllowNoStep", 100, 100, "+-", 100, false, false},
                    ZoomCase{"BoundsLeavingOutNormalTakeItIn", 150, 80, "+-", 100, false, false},
                    ZoomCase{"ZeroMinimumStopsAboveZero", 0, 100, "-----", 1, true, false}),
    [](const testing::TestParamInfo<ZoomCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plintor
