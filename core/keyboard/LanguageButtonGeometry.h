#pragma once

namespace plintor {

// The size of a language button beside the on-screen keyboard, in screen pixels: design
// values scaled to the screen and by the keyboard size (a percentage, 100 to 200).
struct LanguageButtonGeometry {
    int width;
    int height;
    int margin;
    int spacing;
    int fontPoints;
};

LanguageButtonGeometry languageButtonGeometry(int touchKeyboardSize, int pixelsPerInch);

}  // namespace plintor
