#pragma once

namespace plintor {

// The icon size family for a screen: 200 from 192 pixels per inch, 150 from 144, else 100.
int scaleClass(int pixelsPerInch);

// A design size at 96 pixels per inch scaled to the screen, truncated.
int scaleValue(int value, int pixelsPerInch);

constexpr int DesignPixelsPerInch = 96;

}  // namespace plintor
