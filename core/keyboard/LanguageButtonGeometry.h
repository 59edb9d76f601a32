#pragma once

namespace plintor {

// The size of a language button beside the on-screen keyboard, in screen pixels: design
// values scaled to the screen and by the keyboard size (a percentage, 100 to 200).
struct TLanguageButtonGeometry {
    int Width;
    int Height;
    int Margin;
    int Spacing;
    int FontPoints;
};

TLanguageButtonGeometry LanguageButtonGeometry(int touchKeyboardSize, int pixelsPerInch);

}  // namespace plintor
