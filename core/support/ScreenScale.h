#pragma once

namespace plintor {

// The icon size family for a screen: 200 from 192 pixels per inch, 150 from 144, else 100.
int scaleClass(int pixelsPerInch);

// A design size at 96 pixels per inch scaled to the screen, truncated.
int scaleValue(int value, int pixelsPerInch);

constexpr int DesignPixelsPerInch = 96;

// The shortest side of a control a finger hits reliably, on the screen as it really is.
constexpr double TouchTargetMillimetres = 9;

// TouchTargetMillimetres in the pixels of a screen, rounded up: a control of that size is never
// short of it.
int touchTargetPixels(int pixelsPerInch);

}  // namespace plintor
