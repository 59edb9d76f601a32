#include "core/keyboard/LanguageButtonGeometry.h"

#include "core/support/ScreenScale.h"

namespace plintor {

LanguageButtonGeometry languageButtonGeometry(int touchKeyboardSize, int pixelsPerInch) {
    const double factor = 1 + (touchKeyboardSize - 100) / 100.0;
    auto scaled = [&](int design) {
        return static_cast<int>(factor * scaleValue(design, pixelsPerInch));
    };
    return {scaled(128), scaled(28), scaled(8), scaled(4), static_cast<int>(factor * 8)};
}

}  // namespace plintor
