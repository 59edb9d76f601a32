#pragma once

#include <string>
#include <vector>

namespace plintor {

// A pen (stylus, eraser) is no visitor input for the idle return; mice, touch pads, touch
// screens and keyboards are. Judged by the device's name and by tilt axes, which only pens have.
bool isPenDevice(const std::string& name, const std::vector<std::string>& axisLabels);

}  // namespace plintor
